#include "worksheet_random.h"

#include <cstdint>
#include <utility>

namespace sumbrook {

int WorksheetRandom::RandomInt(int lo, int hi) {
    if (lo > hi) {
        std::swap(lo, hi);
    }
    state_ = state_ * 214013u + 2531011u;
    const std::int64_t output = (state_ >> 16) & 0x7FFF;
    // 64-bit so that bounds far apart (only the command line can ask for them) cannot overflow.
    const std::int64_t span = std::int64_t{hi} - lo + 1;
    return static_cast<int>(lo + output % span);
}

void WorksheetRandom::Reseed() {
    const std::uint32_t tick = ticks_.ticks();
    counter_ += ((tick + counter_) % 256u) + 100u;
    state_ = tick + counter_;
}

}  // namespace sumbrook
