#include "scene_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "practice/core/music_rules.h"
#include "practice_stage.h"
#include "stage_layout.h"

namespace sumbrook {

namespace {
constexpr int kStepMs = 1000 / 12;
}

SceneWidget::SceneWidget(PracticeStage& stage, QWidget* parent) : QWidget(parent), stage_(stage) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    steps_.setInterval(kStepMs);
    steps_.setTimerType(Qt::PreciseTimer);
    connect(&steps_, &QTimer::timeout, this, &SceneWidget::advance);
    steps_.start();
    volumeRepeat_.setInterval(MusicRules::kHoldIntervalMs);
    connect(&volumeRepeat_, &QTimer::timeout, this, [this] {
        stage_.loop().volumeTick();
        update();
    });
}

QRectF SceneWidget::stageRect() const {
    const double scale = std::min(width() / stage_layout::kWidth, height() / stage_layout::kHeight);
    const double w = stage_layout::kWidth * scale;
    const double h = stage_layout::kHeight * scale;
    return {(width() - w) / 2, (height() - h) / 2, w, h};
}

QPointF SceneWidget::toStage(QPointF p) const {
    const QRectF r = stageRect();
    return {(p.x() - r.left()) * stage_layout::kWidth / r.width(),
            (p.y() - r.top()) * stage_layout::kHeight / r.height()};
}

void SceneWidget::advance() {
    stage_.step();
    const QString look = stage_.lookSignature();
    if (look != lastLook_) {
        lastLook_ = look;
        lastMoving_ = stage_.movingRects();
        ++fullRepaints_;
        update();
        return;
    }
    const QRectF r = stageRect();
    const double scale = r.width() / stage_layout::kWidth;
    // What moved last step is repainted once more, so that a part that has just stopped
    // (a star of the trail that went out) leaves nothing of itself behind.
    std::vector<QRectF> moving = stage_.movingRects();
    std::vector<QRectF> dirty = moving;
    for (const QRectF& before : lastMoving_) {
        if (std::find(moving.begin(), moving.end(), before) == moving.end()) {
            dirty.push_back(before);
        }
    }
    lastMoving_ = std::move(moving);
    for (const QRectF& part : dirty) {
        ++partialRepaints_;
        update(QRectF(r.left() + part.left() * scale, r.top() + part.top() * scale,
                      part.width() * scale, part.height() * scale)
                   .toAlignedRect()
                   .adjusted(-2, -2, 2, 2));
    }
}

void SceneWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF r = stageRect();
    const double scale = r.width() / stage_layout::kWidth;
    // The letterbox bands, if the widget is not 4:3.
    painter.fillRect(rect(), QColor(0x26, 0x32, 0x38));

    // The scenery is drawn once per screen and size, at the screen's pixel density (and
    // once more when the stage starts: before, it is empty).
    const QString screen = stage_.started()
                               ? QString::number(static_cast<int>(stage_.loop().screen())) +
                                     (stage_.loop().exitControlVisible() ? u'F' : u'W')
                               : QStringLiteral("-");
    const QSize pixels = (r.size() * devicePixelRatioF()).toSize();
    if (backdrop_.size() != pixels || backdropScreen_ != screen) {
        backdrop_ = QPixmap(pixels);
        backdrop_.setDevicePixelRatio(devicePixelRatioF());
        backdrop_.fill(Qt::white);
        QPainter p(&backdrop_);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        stage_.paintBackdrop(p);
        backdropScreen_ = screen;
    }
    painter.drawPixmap(r.topLeft(), backdrop_);

    painter.translate(r.topLeft());
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(0, 0, stage_layout::kWidth, stage_layout::kHeight));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    stage_.paintForeground(painter);
}

void SceneWidget::mouseMoveEvent(QMouseEvent* event) {
    stage_.pointerMoved(toStage(event->position()));
    updateVolumeRepeat();
}

void SceneWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        stage_.pointerPressed(toStage(event->position()));
        updateVolumeRepeat();
        update();
    }
}

void SceneWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        stage_.pointerReleased(toStage(event->position()));
        updateVolumeRepeat();
        update();
    }
}

void SceneWidget::leaveEvent(QEvent*) {
    stage_.pointerMoved(QPointF(-100, -100));
    updateVolumeRepeat();
}

void SceneWidget::resizeEvent(QResizeEvent*) {
    update();
}

void SceneWidget::updateVolumeRepeat() {
    if (stage_.volumeHeld() && !volumeRepeat_.isActive()) {
        volumeRepeat_.start();
    } else if (!stage_.volumeHeld()) {
        volumeRepeat_.stop();
    }
}

}  // namespace sumbrook
