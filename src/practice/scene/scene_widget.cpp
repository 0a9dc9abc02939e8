#include "scene_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "practice/core/music_rules.h"
#include "practice_stage.h"
#include "scene_style.h"
#include "scene_timing.h"
#include "stage_layout.h"

namespace sumbrook {

SceneWidget::SceneWidget(PracticeStage& stage, QWidget* parent)
    : QWidget(parent), stage_(stage), keyboard_(stage) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    steps_.setInterval(timing::kStepMs);
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
    lastRepaints_.clear();
    StageLook look = stage_.look();
    if (!(look == lastLook_)) {
        lastLook_ = std::move(look);
        ++fullRepaints_;
        lastRepaints_.push_back(rect());
        update();
        return;
    }
    const QRectF r = stageRect();
    const double scale = r.width() / stage_layout::kWidth;
    for (const QRectF& part : stage_.movingRects()) {
        ++partialRepaints_;
        lastRepaints_.push_back(QRectF(r.left() + part.left() * scale, r.top() + part.top() * scale,
                                       part.width() * scale, part.height() * scale)
                                    .toAlignedRect()
                                    .adjusted(-2, -2, 2, 2));
        update(lastRepaints_.back());
    }
}

void SceneWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRectF r = stageRect();
    frame_.paint(painter, stage_, r, devicePixelRatioF(), event->rect());
    // After the stage, whose scenery the bands continue when the widget is not 4:3.
    frame_.paintBands(painter, r, rect());
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

void SceneWidget::keyPressEvent(QKeyEvent* event) {
    if (!keyboard_.keyPressed(event->key(), event->modifiers(), event->isAutoRepeat())) {
        QWidget::keyPressEvent(event);
        return;
    }
    update();
}

void SceneWidget::keyReleaseEvent(QKeyEvent* event) {
    if (!keyboard_.keyReleased(event->key(), event->isAutoRepeat())) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    update();
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
