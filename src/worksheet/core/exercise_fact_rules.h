#pragma once

#include <vector>

#include "arithmetic_fact.h"

namespace sumbrook {

// Which addition and subtraction facts belong to which practice exercise (1 to 35; 36
// and 37 are the clock and the money, which have none): how many numbers, which signs,
// where the blank stands and within which range, as the exercise's questions are drawn.
// Used to top a mistakes sheet up with facts near the ones the child missed.
class ExerciseFactRules {
  public:
    // True for the exercises whose questions are written sums.
    static bool isArithmetic(int exercise) { return exercise >= 1 && exercise <= 35; }
    // True when the exercise could ask this fact.
    static bool fits(int exercise, const ArithmeticFact& fact);
    // Facts a step away from `fact` that the exercise could ask, nearest first, without
    // `fact` itself and without repeats: one number one up or down (ten for the whole-ten
    // exercises), the two numbers of a sum swapped, or one number up and another down so
    // that the result stays.
    static std::vector<ArithmeticFact> neighbours(int exercise, const ArithmeticFact& fact);
};

}  // namespace sumbrook
