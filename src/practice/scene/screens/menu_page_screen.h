#pragma once

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
    static void paintEntries(QPainter& painter, const PracticeStage& stage);
};

}  // namespace sumbrook
