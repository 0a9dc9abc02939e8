#pragma once

#include <QPointF>
#include <array>

namespace sumbrook {

// The trail of 20 small stars that follows the mouse pointer: each star's phase, place,
// opacity, turn, size and colour, moved on by one display step at a time. It draws
// nothing.
class SparkleTrail {
  public:
    static constexpr int kStars = 20;

    struct Star {
        int phase = 0;  // i
        QPointF position;
        int opacity = 0;      // 0 or 100
        double rotation = 0;  // degrees
        double scale = 0;     // per cent, both axes
        int green = 0;        // colour: red 255, this green, blue 0
    };

    SparkleTrail();

    // One display step with the pointer at `pointer`.
    void step(QPointF pointer);
    const std::array<Star, kStars>& stars() const { return stars_; }

  private:
    std::array<Star, kStars> stars_;
    std::array<QPointF, kStars> remembered_;
};

}  // namespace sumbrook
