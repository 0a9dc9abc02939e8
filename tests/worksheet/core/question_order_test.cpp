#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "worksheet/core/question_order.h"

namespace sumbrook {
namespace {

TEST(QuestionOrder, IsARandomPermutationFixedByTheTick) {
    FixedTickSource ticks(1000);
    WorksheetRandom random(ticks), again(ticks);
    // State 1332 after Reseed; the draws 4, 1, 2, 2, 1 take from the shrinking pool.
    EXPECT_EQ(BuildQuestionOrder(5, random), (std::vector<int>{4, 1, 3, 5, 2}));
    EXPECT_EQ(BuildQuestionOrder(5, again), (std::vector<int>{4, 1, 3, 5, 2}));
    for (int n : {0, 1, 21, 30}) {
        std::vector<int> order = BuildQuestionOrder(n, random);
        std::sort(order.begin(), order.end());
        std::vector<int> positions(static_cast<std::size_t>(n));
        std::iota(positions.begin(), positions.end(), 1);
        EXPECT_EQ(order, positions);
    }
}

}  // namespace
}  // namespace sumbrook
