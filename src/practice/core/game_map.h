#pragma once

#include <array>

namespace sumbrook {

// The game map's rules: which exercise each of the 21 levels asks, and where the marker
// stands on the path of 22 stops as it walks from one stop to the next. It does not read
// or write the level; the progress records do.
class GameMap {
  public:
    static constexpr int kLevels = 21;  // levels 0..20; level 21 means all done
    static constexpr int kStops = 22;
    static constexpr int kWalkSteps = 20;  // display steps between neighbouring stops
    static constexpr int kPauseSteps = 3;  // about a quarter of a second before a walk

    // The exercise of level 0..20, or 0 for anything else.
    static int exerciseForLevel(int level);

    // Puts the marker at a stop at once.
    void placeAt(int stop);
    // Puts the marker at `from`, and after the pause walks it to `to`.
    void advance(int from, int to);
    // One display step.
    void step();

    // Where the marker stands: a stop number, with a fraction while walking.
    double markerPosition() const;
    bool moving() const { return pause_ > 0 || walked_ < walkLength(); }
    int targetStop() const { return to_; }

  private:
    int walkLength() const;

    int from_ = 0;
    int to_ = 0;
    int pause_ = 0;
    int walked_ = 0;
};

}  // namespace sumbrook
