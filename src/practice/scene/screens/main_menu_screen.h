#pragma once

#include "screen_painter.h"

namespace sumbrook {

// The main menu: the title, the bear and its buttons (the stage draws those; "错题复习"
// stands among them only while a review is due).
class MainMenuScreen : public ScreenPainter {
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
