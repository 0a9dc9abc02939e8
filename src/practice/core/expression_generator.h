#pragma once

#include "common/uniform_source.h"
#include "question.h"

namespace sumbrook {

// Makes the questions of the ten exercises asked on the expression screen: chained sums
// and differences of three numbers, mixed three-number expressions and the two grade-one
// reviews (25 to 32, 34 and 35).
class ExpressionGenerator {
  public:
    static bool handles(int xiangm) {
        return (xiangm >= 25 && xiangm <= 32) || xiangm == 34 || xiangm == 35;
    }
    // xiangm must be one that handles() accepts.
    static ExpressionQuestion generate(int xiangm, UniformSource& source);
};

}  // namespace sumbrook
