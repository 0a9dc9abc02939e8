#pragma once

#include "common/uniform_source.h"
#include "question.h"

namespace sumbrook {

// Makes the questions of exercise 36: a time on the hour or a quarter past, half past
// or a quarter to, with the angles of its two hands.
class ClockGenerator {
  public:
    static constexpr int kExercise = 36;

    // The question for hour 1..12 and minute 0, 15, 30 or 45.
    static ClockQuestion forTime(int hour, int minute);
    static ClockQuestion generate(UniformSource& source);
};

}  // namespace sumbrook
