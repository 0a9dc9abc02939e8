#pragma once

#include "screen_painter.h"

namespace sumbrook {

// The intro: the title drops in letter by letter, stars come out, the bear hops up.
class IntroScreen : public ScreenPainter {
  public:
    void paintBackdrop(QPainter& painter, const PracticeStage& stage) const override;
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;
    std::vector<QRectF> changingRects(const PracticeStage& stage) const override;
};

}  // namespace sumbrook
