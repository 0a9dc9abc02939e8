#pragma once

#include "screen_painter.h"

namespace sumbrook {

// The game map: a path of 22 stops up the hills, the sign of the level and the walking bear.
class MapScreen : public ScreenPainter {
  public:
    void paintBackdrop(QPainter& painter, const PracticeStage& stage) const override;
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;
    std::vector<QRectF> changingRects(const PracticeStage& stage) const override;

  private:
    // The scenery, drawn once per size.
    static void paintStill(QPainter& painter);
};

}  // namespace sumbrook
