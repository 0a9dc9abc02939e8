#pragma once

#include <QPainter>
#include <QRectF>
#include <vector>

#include "practice/core/screen.h"

namespace sumbrook {

class PracticeStage;

// What one screen of the stage draws, in stage units (800 × 600). The stage draws the
// plain buttons of its controls afterwards; a painter draws everything else, including
// the controls marked as drawn by the screen.
class ScreenPainter {
  public:
    virtual ~ScreenPainter() = default;
    // What never moves while the screen is up: drawn once and cached.
    virtual void paintBackdrop(QPainter& painter, const PracticeStage& stage) const = 0;
    // What is drawn over the backdrop at every repaint; only what meets `region`.
    virtual void paintMoving(QPainter& painter, const PracticeStage& stage,
                             const QRectF& region) const = 0;
    // The parts that change by themselves at the stage's current step.
    virtual std::vector<QRectF> changingRects(const PracticeStage& stage) const = 0;
};

// The painter of each screen; one instance per screen for the life of the program.
const ScreenPainter& screenPainter(Screen screen);
// The settings panel and a confirmation box, drawn in front of whatever screen is up.
const ScreenPainter& settingsPanelPainter();
const ScreenPainter& confirmBoxPainter();

}  // namespace sumbrook
