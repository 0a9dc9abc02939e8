#include <gtest/gtest.h>

#include "answers.h"
#include "learning/fact_learning.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

using testing::answer;
using testing::kFirstDay;
using testing::sum;

// With no one-digit answers the default key time holds: 7 + 8 is fluent within 4800 ms.
constexpr std::int64_t kFast = 3000;
constexpr std::int64_t kSlow = 8000;

struct Step {
    int day;      // the recorded day, from kFirstDay
    int hhmm;     // the clock time in the zone the family was in
    char result;  // 'W' wrong, 'R' right and fluent, 'S' right but slow
    int zoneHours = 0;
};

struct BoxRow {
    const char* what;
    std::vector<Step> steps;
    int box;
    bool retired;
    int dueDay;  // from kFirstDay; -1: no due day
};

class LeitnerBoxes : public ::testing::TestWithParam<BoxRow> {};

TEST_P(LeitnerBoxes, MoveByTheRecordedDayOfEachAnswer) {
    const BoxRow& row = GetParam();
    QVector<FactAnswer> answers;
    for (const Step& s : row.steps) {
        answers.push_back(answer(sum(7, 8), s.day, s.hhmm, s.result != 'W',
                                 s.result == 'S' ? kSlow : kFast, 4, s.zoneHours));
    }
    const FactLearning learning(answers);
    ASSERT_EQ(learning.facts().size(), 1u);
    const LeitnerBox& box = learning.facts().front().box;
    EXPECT_EQ(box.box, row.box);
    EXPECT_EQ(box.retired, row.retired);
    EXPECT_EQ(box.due, row.dueDay < 0 ? QDate() : kFirstDay.addDays(row.dueDay));

    // Due on its due day and every day after, not the day before.
    if (row.dueDay >= 0) {
        EXPECT_TRUE(learning.due(kFirstDay.addDays(row.dueDay - 1)).empty());
        EXPECT_EQ(learning.due(kFirstDay.addDays(row.dueDay)).size(), 1u);
        EXPECT_EQ(learning.due(kFirstDay.addDays(row.dueDay + 30)).size(), 1u);
    } else {
        EXPECT_TRUE(learning.due(kFirstDay.addDays(400)).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LeitnerBoxes,
    ::testing::Values(
        BoxRow{"never missed: no box", {{0, 900, 'R'}, {5, 900, 'R'}}, 0, false, -1},
        BoxRow{"a miss: box 1, due the next day", {{0, 900, 'W'}}, 1, false, 1},
        BoxRow{
            "right the same day it was missed: stays", {{0, 900, 'W'}, {0, 901, 'R'}}, 1, false, 1},
        BoxRow{"missed again the same day: due the next day",
               {{0, 900, 'W'}, {0, 2000, 'W'}},
               1,
               false,
               1},
        BoxRow{"23:59 then 00:01 is the next day", {{0, 2359, 'W'}, {1, 1, 'R'}}, 2, false, 4},
        BoxRow{"answered late still moves up", {{0, 900, 'W'}, {5, 900, 'R'}}, 2, false, 8},
        BoxRow{"a slow right answer moves up too", {{0, 900, 'W'}, {1, 900, 'S'}}, 2, false, 4},
        BoxRow{"box 2 before its due day: stays",
               {{0, 900, 'W'}, {1, 900, 'R'}, {3, 900, 'R'}},
               2,
               false,
               4},
        BoxRow{"box 3, due a week on", {{0, 900, 'W'}, {1, 900, 'R'}, {4, 900, 'R'}}, 3, false, 11},
        BoxRow{"fluent in box 3 retires",
               {{0, 900, 'W'}, {1, 900, 'R'}, {4, 900, 'R'}, {11, 900, 'R'}},
               0,
               true,
               -1},
        BoxRow{"slow in box 3 stays another week",
               {{0, 900, 'W'}, {1, 900, 'R'}, {4, 900, 'R'}, {11, 900, 'S'}},
               3,
               false,
               18},
        BoxRow{"a miss in box 3 goes back to box 1",
               {{0, 900, 'W'}, {1, 900, 'R'}, {4, 900, 'R'}, {11, 900, 'W'}},
               1,
               false,
               12},
        BoxRow{"a miss after retiring starts again",
               {{0, 900, 'W'}, {1, 900, 'R'}, {4, 900, 'R'}, {11, 900, 'R'}, {40, 900, 'W'}},
               1,
               false,
               41},
        // Flying east: two hours later by the clock, but the next day where the family is.
        BoxRow{"east across midnight", {{0, 2000, 'W', 0}, {1, 600, 'R', 8}}, 2, false, 4},
        // Flying west: the next day in UTC, still the same day where the family is.
        BoxRow{"west, the same day lived", {{0, 1700, 'W', 8}, {0, 1900, 'R', -8}}, 1, false, 1}));

}  // namespace
}  // namespace sumbrook
