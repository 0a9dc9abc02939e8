#pragma once

#include <cstdint>

#include "tick_source.h"

namespace sumbrook {

// The worksheet tool's random integers: a linear congruential generator (state × 214013 +
// 2531011 modulo 2^32, output bits 16 to 30), reseeded from the tick count plus a counter
// that grows with every reseed so that two reseeds in the same millisecond differ.
class WorksheetRandom {
  public:
    explicit WorksheetRandom(TickSource& ticks) : ticks_(ticks) {}

    // lo + output mod (hi − lo + 1); the bounds are swapped when lo > hi.
    int RandomInt(int lo, int hi);
    // The counter grows by ((tick + counter) mod 256) + 100, then the state becomes
    // tick + counter.
    void Reseed();

    std::uint32_t state() const { return state_; }
    void setState(std::uint32_t state) { state_ = state; }

  private:
    TickSource& ticks_;
    std::uint32_t state_ = 0;
    std::uint32_t counter_ = 0;
};

}  // namespace sumbrook
