#include <gtest/gtest.h>

#include "answers.h"
#include "learning/fact_map.h"

namespace sumbrook {
namespace {

using testing::answer;
using testing::sum;

PracticeFact difference(int a, int b, int blank = 2) {
    PracticeFact fact;
    fact.numbers = {a, b, a - b};
    fact.signs = QStringLiteral("-");
    fact.blank = blank;
    return fact;
}

// Every question of a cell's numbers and sign lands in it, whichever place was blank, and
// the cell reads as the least known of them; facts off the grids are left out.
TEST(FactMap, GathersEachSumAndDifferenceWhicheverPlaceWasBlankAsTheLeastKnown) {
    QVector<FactAnswer> answers = testing::typist(1000);  // 1 + 0 … 1 + 3, fluent
    for (int i = 0; i < 3; ++i) {
        answers.push_back(answer(sum(1, i % 4), 1, 900 + i, true, 1000));
        answers.push_back(answer(sum(7, 8), i, 900, true, 2500));            // fluent
        answers.push_back(answer(sum(7, 8, 1), i, 901, true, 9000));         // slow
        answers.push_back(answer(difference(15, 8), i, 902, i != 2, 2000));  // missed last
        answers.push_back(answer(sum(12, 9), i, 903, false, 2000));          // off the grid
        answers.push_back(answer(difference(25, 5), i, 904, false, 2000));   // off the grid
    }
    std::sort(answers.begin(), answers.end(), [](const FactAnswer& a, const FactAnswer& b) {
        return a.fact.key() != b.fact.key() ? a.fact.key() < b.fact.key() : a.atMs < b.atMs;
    });
    const FactMap map{FactLearning(answers)};

    const struct {
        const char* what;
        const FactCell& cell;
        Fluency state;
        std::size_t met;
    } rows[] = {
        {"7 + 8: fluent and slow blanks read slow", map.addition(7, 8), Fluency::Slow, 2},
        {"8 + 7 is its own cell", map.addition(8, 7), Fluency::New, 0},
        {"15 − 8 missed lately", map.subtraction(15, 8), Fluency::Learning, 1},
        {"1 + 2 known by heart", map.addition(1, 2), Fluency::Fluent, 1},
        {"20 − 20, the grid's corner", map.subtraction(20, 20), Fluency::New, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.cell.state, row.state);
        EXPECT_EQ(row.cell.met.size(), row.met);
    }
    // 121 sums and 231 differences, each cell once.
    int cells = 0;
    for (const Fluency s : {Fluency::New, Fluency::Learning, Fluency::Slow, Fluency::Fluent}) {
        cells += map.count(s);
    }
    EXPECT_EQ(cells, 121 + 231);
    EXPECT_EQ(map.count(Fluency::Learning), 1);
    EXPECT_EQ(map.count(Fluency::Fluent), 4);
}

}  // namespace
}  // namespace sumbrook
