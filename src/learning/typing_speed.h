#pragma once

#include <cstdint>
#include <vector>

namespace sumbrook {

// How fast the child keys an answer, measured from its own fastest right answers of
// one-digit results; the threshold for a fact allows 3 s of thinking on top. Says nothing
// about which facts are known: that is FactLearning's.
struct TypingSpeed {
    static constexpr std::int64_t kThinkingMs = 3000;
    static constexpr std::int64_t kDefaultKeyMs = 600;
    static constexpr std::int64_t kFastestKeyMs = 150;
    static constexpr std::int64_t kSlowestKeyMs = 1500;
    static constexpr int kFastestAnswers = 10;  // the fastest few the key time is read from
    static constexpr int kFewestAnswers = 5;    // below this the default is used

    std::int64_t keyMs = kDefaultKeyMs;  // one key press (a digit or Enter)
    bool measured = false;               // false: too few answers yet, a default is used

    std::int64_t thresholdMs(int answerDigits) const;  // 3000 + (digits + 1) × keyMs

    // A right one-digit answer takes a moment of thought and two presses (the digit and
    // Enter). Half the median of the fastest ten of them bounds one press from above with
    // little thought in it; the median, not the fastest, so one lucky double tap does not
    // make the child a fast typist.
    static TypingSpeed measure(std::vector<std::int64_t> oneDigitRightMs);
};

}  // namespace sumbrook
