#pragma once

#include "common/uniform_source.h"
#include "question.h"

namespace sumbrook {

// Makes the questions of exercise 37: one of the 47 money pictures, whose face value
// must be typed; the unit is given beside the answer box.
class MoneyGenerator {
  public:
    static constexpr int kPictures = 47;
    static constexpr int kExercise = 37;

    // The question for picture k (1..47).
    static MoneyQuestion forPicture(int picture);
    static MoneyQuestion generate(UniformSource& source);
};

}  // namespace sumbrook
