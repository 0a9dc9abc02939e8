#include <gtest/gtest.h>

#include "answers.h"
#include "learning/fact_learning.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

using testing::answer;
using testing::kFirstDay;
using testing::sum;

QStringList keysOf(const std::vector<ReviewItem>& run) {
    QStringList keys;
    for (const ReviewItem& item : run) {
        keys << item.fact.key() + (item.due ? QString() : QStringLiteral(" (slow)"));
    }
    return keys;
}

// Today is day 10. Default key time: a two-digit sum is fluent within 4800 ms.
TEST(Review, TakesTheMostOverdueFirstThenTheSlowest) {
    PracticeFact notASum = sum(7, 8);
    notASum.numbers.back() = 16;
    const QVector<FactAnswer> answers{
        answer(sum(9, 9), 5, 900, false, 3000),   // due day 6
        answer(sum(6, 6), 8, 900, false, 3000),   // due day 9, missed once, at 9:00
        answer(sum(5, 5), 8, 900, false, 3000),   // the same, by key
        answer(sum(4, 7), 8, 1000, false, 3000),  // due day 9, missed once, later
        answer(sum(3, 8), 8, 800, false, 3000),   // due day 9, missed twice
        answer(sum(3, 8), 8, 801, false, 3000),
        answer(sum(2, 9), 6, 900, false, 3000),  // box 2, due day 10: today
        answer(sum(2, 9), 7, 900, true, 3000),
        answer(sum(8, 8), 10, 900, false, 3000),  // due tomorrow
        answer(notASum, 1, 900, false, 3000),     // due, but no screen can ask it
        answer(sum(9, 6), 1, 900, true, 6000),    // slow, 1200 ms over
        answer(sum(9, 7), 1, 900, true, 9000),    // slow, 4200 ms over
        answer(sum(9, 8), 1, 900, true, 3000),    // fluent
        answer(sum(9, 8), 2, 900, true, 3000),
        answer(sum(4, 9), 3, 900, true, 3000, 4),  // due today, missed more recently than 2 + 9;
                                                   // met in 4, then in 6: asked again in 6
        answer(sum(4, 9), 9, 900, false, 9000, 6),
    };
    const FactLearning learning(answers);
    const QDate today = kFirstDay.addDays(10);

    const std::vector<ReviewItem> run = learning.review(today);
    EXPECT_EQ(keysOf(run),
              (QStringList{"9+9=[18]", "3+8=[11]", "4+7=[11]", "5+5=[10]", "6+6=[12]", "4+9=[13]",
                           "2+9=[11]", "9+7=[16] (slow)", "9+6=[15] (slow)"}));
    EXPECT_EQ(run[5].exercise, 6);
    EXPECT_EQ(learning.due(today).size(), 8u);  // the one no screen asks is still due
}

TEST(Review, IsToppedUpWithSlowFactsToTwentyAndNoMore) {
    const struct {
        int due;
        int slow;
        int dueInRun;
        int slowInRun;
    } rows[] = {
        {0, 0, 0, 0}, {3, 4, 3, 4}, {5, 30, 5, 15}, {20, 5, 20, 0}, {25, 10, 20, 0}, {0, 25, 0, 20},
    };
    const QDate today = kFirstDay.addDays(60);
    for (const auto& row : rows) {
        QVector<FactAnswer> answers;
        for (int i = 0; i < row.due; ++i) {  // fact i missed on day i: the lower, the more overdue
            answers.push_back(answer(sum(10, i), i, 900, false, 3000));
        }
        for (int i = 0; i < row.slow; ++i) {  // the higher, the slower
            answers.push_back(answer(sum(20, i), 1, 900, true, 5000 + 100 * i));
        }
        const std::vector<ReviewItem> run = FactLearning(answers).review(today);
        ASSERT_EQ(run.size(), static_cast<std::size_t>(row.dueInRun + row.slowInRun))
            << row.due << " due, " << row.slow << " slow";
        for (int i = 0; i < row.dueInRun; ++i) {
            EXPECT_TRUE(run[static_cast<std::size_t>(i)].due);
            EXPECT_EQ(run[static_cast<std::size_t>(i)].fact, sum(10, i));
        }
        for (int i = 0; i < row.slowInRun; ++i) {
            const ReviewItem& item = run[static_cast<std::size_t>(row.dueInRun + i)];
            EXPECT_FALSE(item.due);
            EXPECT_EQ(item.fact, sum(20, row.slow - 1 - i));
        }
    }
}

}  // namespace
}  // namespace sumbrook
