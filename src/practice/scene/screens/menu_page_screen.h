#pragma once

#include "practice/scene/stage_control.h"
#include "screen_painter.h"

namespace sumbrook {

// A page of the exercise menu: its heading and its entries, which it draws itself. Nothing
// on it moves by itself: all of it stands in the cached backdrop.
class MenuPageScreen : public ScreenPainter {
  public:
    void paintBackdrop(QPainter& painter, const PracticeStage& stage) const override;
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;
    std::vector<QRectF> changingRects(const PracticeStage& stage) const override;

  private:
    // The page's scenery and heading, drawn once per size.
    static void paintStill(QPainter& painter, bool first);
    // One entry: a card with its number disc and title, up or held down.
    static void paintEntry(QPainter& painter, const StageControl& control, bool pressed);
};

}  // namespace sumbrook
