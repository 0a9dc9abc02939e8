#include "question_generator.h"

#include <stdexcept>

#include "clock_generator.h"
#include "expression_generator.h"
#include "money_generator.h"
#include "two_number_generator.h"

namespace sumbrook {

Question QuestionGenerator::generate(int xiangm, UniformSource& source) {
    if (TwoNumberGenerator::handles(xiangm)) {
        return TwoNumberGenerator::generate(xiangm, source);
    }
    if (ExpressionGenerator::handles(xiangm)) {
        return ExpressionGenerator::generate(xiangm, source);
    }
    if (xiangm == MoneyGenerator::kExercise) {
        return MoneyGenerator::generate(source);
    }
    if (xiangm == ClockGenerator::kExercise) {
        return ClockGenerator::generate(source);
    }
    throw std::out_of_range("exercise number out of range");
}

}  // namespace sumbrook
