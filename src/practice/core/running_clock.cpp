#include "running_clock.h"

namespace sumbrook {

void RunningClock::questionStarted() {
    if (ytime1_ == kRestartRequested) {
        ytime2_ = clock_.nowMs();
    }
    ytime1_ = 0;
}

}  // namespace sumbrook
