#include "stage_frame.h"

#include "practice_stage.h"
#include "stage_layout.h"

namespace sumbrook {

void StageFrame::paint(QPainter& painter, const PracticeStage& stage, const QRectF& stageRect,
                       qreal devicePixelRatio, const QRectF& exposed) {
    const double scale = stageRect.width() / stage_layout::kWidth;
    const QSize pixels = (stageRect.size() * devicePixelRatio).toSize();
    const BackdropKey key = stage.backdropKey();
    auto begin = [&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.scale(scale * devicePixelRatio, scale * devicePixelRatio);
        p.setClipRect(stage_layout::kStage);
    };
    const bool resized = backdrop_.size() != pixels;
    if (resized || !(key_ == key) || backdropsDrawn_ == 0) {
        const BackdropKey sceneryKey = stage.sceneryKey();
        if (resized || !(sceneryKey_ == sceneryKey) || sceneriesDrawn_ == 0) {
            scenery_ = QPixmap(pixels);
            scenery_.fill(Qt::white);
            QPainter p(&scenery_);
            begin(p);
            stage.paintScenery(p);
            p.end();
            sceneryKey_ = sceneryKey;
            ++sceneriesDrawn_;
        }
        backdrop_ = scenery_.copy();
        QPainter p(&backdrop_);
        begin(p);
        stage.paintBackdropControls(p);
        p.end();
        backdrop_.setDevicePixelRatio(devicePixelRatio);
        key_ = key;
        ++backdropsDrawn_;
    }
    // Only the exposed part of the backdrop is copied.
    const QRectF part = exposed.intersected(stageRect);
    if (part.isEmpty()) {
        return;
    }
    const QRectF source((part.topLeft() - stageRect.topLeft()) * devicePixelRatio,
                        part.size() * devicePixelRatio);
    painter.drawPixmap(part, backdrop_, source);

    painter.save();
    painter.setClipRect(part);
    painter.translate(stageRect.topLeft());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF region((part.left() - stageRect.left()) / scale,
                        (part.top() - stageRect.top()) / scale, part.width() / scale,
                        part.height() / scale);
    stage.paintForeground(painter, region);
    painter.restore();
}

}  // namespace sumbrook
