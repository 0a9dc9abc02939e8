#pragma once

#include <cstdint>

#include "common/monotonic_clock.h"

namespace sumbrook {

// Times an exercise from its first question to its completion. Entering menu page 1 or
// the game map asks for a restart; the next question start takes it. It does not stop on
// its own: "下一题" and the answer screens leave it running.
class RunningClock {
  public:
    static constexpr int kRestartRequested = 66;

    explicit RunningClock(const MonotonicClock& clock) : clock_(clock) {}

    void requestRestart() { ytime1_ = kRestartRequested; }
    bool restartPending() const { return ytime1_ == kRestartRequested; }
    // Called by every new question.
    void questionStarted();
    std::int64_t elapsedMs() const { return clock_.nowMs() - ytime2_; }
    std::int64_t startMs() const { return ytime2_; }

  private:
    const MonotonicClock& clock_;
    int ytime1_ = 0;
    std::int64_t ytime2_ = 0;
};

}  // namespace sumbrook
