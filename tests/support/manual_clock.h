#pragma once

#include "common/monotonic_clock.h"

namespace sumbrook::testing {

// A clock that moves only when a test moves it.
class ManualClock final : public MonotonicClock {
  public:
    std::int64_t nowMs() const override { return now; }
    void advance(std::int64_t ms) { now += ms; }
    std::int64_t now = 0;
};

}  // namespace sumbrook::testing
