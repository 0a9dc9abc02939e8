#include "typing_speed.h"

#include <algorithm>
#include <vector>

namespace sumbrook {

std::int64_t TypingSpeed::thresholdMs(int answerDigits) const {
    return kThinkingMs + (answerDigits + 1) * keyMs;
}

TypingSpeed TypingSpeed::measure(std::vector<std::int64_t> oneDigitRightMs) {
    std::vector<std::int64_t>& times = oneDigitRightMs;
    std::erase_if(times, [](std::int64_t ms) { return ms <= 0; });
    TypingSpeed speed;
    if (static_cast<int>(times.size()) < kFewestAnswers) {
        return speed;
    }
    const auto fastest = std::min<std::size_t>(times.size(), kFastestAnswers);
    std::partial_sort(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(fastest),
                      times.end());
    const std::int64_t median =
        fastest % 2 == 1 ? times[fastest / 2] : (times[fastest / 2 - 1] + times[fastest / 2]) / 2;
    speed.keyMs = std::clamp<std::int64_t>(median / 2, kFastestKeyMs, kSlowestKeyMs);
    speed.measured = true;
    return speed;
}

}  // namespace sumbrook
