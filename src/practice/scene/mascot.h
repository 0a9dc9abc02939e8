#pragma once

#include <QPainter>
#include <QPointF>

namespace sumbrook {

// Our mascot, a round little bear with a scarf, drawn in flat shapes with a soft outline.
// One figure for the intro, the praise and wrong-answer screens and the map's marker.
class Mascot {
  public:
    enum class Mood { Happy, Cheering, Thinking, Walking };

    // Draws the bear standing on `feet`, `height` units tall; `step` moves its little
    // animations (a wave, a bounce) along.
    static void paint(QPainter& painter, QPointF feet, double height, Mood mood, int step);
};

}  // namespace sumbrook
