#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRectF>

#include "stage_look.h"

namespace sumbrook {

class PracticeStage;

// Draws frames of a stage onto a device: the backdrop from a pixmap kept at the device's
// pixel size (drawn again only when the stage's backdrop key or the size changes), then
// the stage's foreground, both limited to the part being repainted. The backdrop is made
// of the scenery, kept in a pixmap of its own, and the controls over it: pressing a
// control draws the controls again, not the scenery.
class StageFrame {
  public:
    // `stageRect`: where the stage stands on the device, in device-independent pixels;
    // `exposed`: the part to repaint, in the same pixels.
    void paint(QPainter& painter, const PracticeStage& stage, const QRectF& stageRect,
               qreal devicePixelRatio, const QRectF& exposed);
    // Fills the parts of `whole` beside, above or below `stageRect` by stretching the
    // backdrop's outermost pixels across them, so that the sky and grass run on to the edges
    // of a screen of another shape. Uses the backdrop of the last `paint`.
    void paintBands(QPainter& painter, const QRectF& stageRect, const QRectF& whole) const;
    // How many times the backdrop has been drawn, and how many times its scenery.
    int backdropsDrawn() const { return backdropsDrawn_; }
    int sceneriesDrawn() const { return sceneriesDrawn_; }

  private:
    QPixmap scenery_;
    BackdropKey sceneryKey_;
    QPixmap backdrop_;
    BackdropKey key_;
    int backdropsDrawn_ = 0;
    int sceneriesDrawn_ = 0;
};

}  // namespace sumbrook
