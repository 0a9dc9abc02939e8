#pragma once

#include "screen_painter.h"

namespace sumbrook {

// The settings panel in front of the screen that is up: it slides in from above, then
// its card and headings stand still (cached) while the volume and the ring round the
// playing song change.
class SettingsPanelScreen : public ScreenPainter {
  public:
    void paintBackdrop(QPainter& painter, const PracticeStage& stage) const override;
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;
    std::vector<QRectF> changingRects(const PracticeStage& stage) const override;
};

}  // namespace sumbrook
