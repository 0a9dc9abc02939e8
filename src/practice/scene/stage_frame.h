#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRectF>

#include "stage_look.h"

namespace sumbrook {

class PracticeStage;

// Draws frames of a stage onto a device: the backdrop from a pixmap kept at the device's
// pixel size (drawn again only when the stage's backdrop key or the size changes), then
// the stage's foreground, both limited to the part being repainted.
class StageFrame {
  public:
    // `stageRect`: where the stage stands on the device, in device-independent pixels;
    // `exposed`: the part to repaint, in the same pixels.
    void paint(QPainter& painter, const PracticeStage& stage, const QRectF& stageRect,
               qreal devicePixelRatio, const QRectF& exposed);
    // How many times the backdrop has been drawn.
    int backdropsDrawn() const { return backdropsDrawn_; }

  private:
    QPixmap backdrop_;
    BackdropKey key_;
    int backdropsDrawn_ = 0;
};

}  // namespace sumbrook
