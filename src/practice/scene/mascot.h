#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>

namespace sumbrook {

// Our mascot, a round little bear with a scarf, drawn in flat shapes with a soft outline.
// One figure for the intro, the praise and wrong-answer screens and the map's marker.
class Mascot {
  public:
    enum class Mood { Happy, Cheering, Thinking, Walking };
    // The whole bear, or the part that stands still from step to step and the part that
    // moves, drawn one after the other to make the whole. Only a thinking bear keeps still
    // (all but its thought bubble); of any other the still part is empty.
    enum class Layer { Whole, Still, Moving };

    // Draws the bear standing on `feet`, `height` units tall; `step` moves its little
    // animations (a wave, a bounce) along.
    static void paint(QPainter& painter, QPointF feet, double height, Mood mood, int step,
                      Layer layer = Layer::Whole);
    // Where the bear standing on `feet` draws in any pose of `mood`, and the part of that
    // which its little animation changes from one step to the next (only the thought
    // bubble while it thinks, only the waving arm while it is happy).
    static QRectF reach(QPointF feet, double height, Mood mood);
    static QRectF moving(QPointF feet, double height, Mood mood);
};

}  // namespace sumbrook
