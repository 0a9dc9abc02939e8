#pragma once

#include "screen_painter.h"

namespace sumbrook {

// A page of the exercise menu: its heading and its entries, which it draws itself.
class MenuPageScreen : public ScreenPainter {
  public:
    void paintBackdrop(QPainter& painter, const PracticeStage& stage) const override;
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;
    std::vector<QRectF> changingRects(const PracticeStage& stage) const override;
};

}  // namespace sumbrook
