#include "typing_speed.h"

#include <algorithm>
#include <vector>

namespace sumbrook {

std::int64_t TypingSpeed::thresholdMs(int answerDigits) const {
    return kThinkingMs + (answerDigits + 1) * keyMs;
}

TypingSpeed TypingSpeed::measure(const QVector<FactAnswer>& answers) {
    std::vector<std::int64_t> times;
    for (const FactAnswer& answer : answers) {
        if (answer.right && answer.ms > 0 && answer.fact.answerDigits() == 1) {
            times.push_back(answer.ms);
        }
    }
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
