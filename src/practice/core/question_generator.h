#pragma once

#include "common/uniform_source.h"
#include "question.h"

namespace sumbrook {

// Makes one question of any of the 37 exercises, with the record its screen shows.
class QuestionGenerator {
  public:
    // xiangm must be 1..37.
    static Question generate(int xiangm, UniformSource& source);
};

}  // namespace sumbrook
