#pragma once

#include "common/uniform_source.h"
#include "question.h"

namespace sumbrook {

// Makes the questions of the 25 exercises asked on the two-number screen (1 to 24 and
// 33). Each call draws afresh; a question may repeat the previous one.
class TwoNumberGenerator {
  public:
    static bool handles(int xiangm) { return (xiangm >= 1 && xiangm <= 24) || xiangm == 33; }
    // xiangm must be one that handles() accepts.
    static TwoNumberQuestion generate(int xiangm, UniformSource& source);
};

}  // namespace sumbrook
