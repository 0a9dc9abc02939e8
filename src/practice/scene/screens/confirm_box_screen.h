#pragma once

#include "screen_painter.h"

namespace sumbrook {

// A confirmation box over the dimmed screen: a sun badge, the question, 确定 and 取消
// (the stage draws those). Everything behind it stands still, so all of it is cached.
class ConfirmBoxScreen : public ScreenPainter {
  public:
    void paintBackdrop(QPainter& painter, const PracticeStage& stage) const override;
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;
    std::vector<QRectF> changingRects(const PracticeStage& stage) const override;
};

}  // namespace sumbrook
