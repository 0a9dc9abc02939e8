#pragma once

#include <chrono>
#include <cstdint>

namespace sumbrook {

// Milliseconds on a clock that never goes back. The running time of an exercise, the
// host's poll timer and the scene's display steps read it, so tests can move time by hand.
class MonotonicClock {
  public:
    virtual ~MonotonicClock() = default;
    virtual std::int64_t nowMs() const = 0;
};

// Milliseconds since this object was made, from the steady system clock.
class SteadyClock final : public MonotonicClock {
  public:
    SteadyClock() : start_(std::chrono::steady_clock::now()) {}
    std::int64_t nowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }

  private:
    std::chrono::steady_clock::time_point start_;
};

}  // namespace sumbrook
