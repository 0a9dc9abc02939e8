#include "stage_frame.h"

#include <cmath>

#include "practice_stage.h"
#include "scene_style.h"
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

void StageFrame::paintBands(QPainter& painter, const QRectF& stageRect, const QRectF& whole) const {
    const QRectF left(whole.left(), whole.top(), stageRect.left() - whole.left(), whole.height());
    const QRectF right(stageRect.right(), whole.top(), whole.right() - stageRect.right(),
                       whole.height());
    const QRectF above(whole.left(), whole.top(), whole.width(), stageRect.top() - whole.top());
    const QRectF below(whole.left(), stageRect.bottom(), whole.width(),
                       whole.bottom() - stageRect.bottom());
    // The backdrop, controls and all: a strip that runs the stage's width (a header's
    // glass) runs on across the bands too.
    const double w = backdrop_.width();
    const double h = backdrop_.height();
    // A little in from the edge, past the antialiasing and the strokes that outline the
    // stage's own art there: four stage units.
    const double in = std::ceil(4 * w / stage_layout::kWidth);
    const bool edges = w > 2 * in && h > 2 * in;
    const auto band = [&](const QRectF& target, const QRectF& source) {
        if (target.width() <= 0 || target.height() <= 0) {
            return;
        }
        if (edges) {
            painter.drawPixmap(target, backdrop_, source);
        } else {
            painter.fillRect(target, scene_style::kLetterbox);
        }
    };
    band(left, QRectF(in, 0, 1, h));
    band(right, QRectF(w - 1 - in, 0, 1, h));
    band(above, QRectF(0, in, w, 1));
    band(below, QRectF(0, h - 1 - in, w, 1));
}

}  // namespace sumbrook
