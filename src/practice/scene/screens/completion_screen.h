#pragma once

#include "screen_painter.h"

namespace sumbrook {

// The end of an exercise: the times on a card, confetti, the cheering bear, a new record.
class CompletionScreen : public ScreenPainter {
  public:
    void paintBackdrop(QPainter& painter, const PracticeStage& stage) const override;
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;
    std::vector<QRectF> changingRects(const PracticeStage& stage) const override;
};

}  // namespace sumbrook
