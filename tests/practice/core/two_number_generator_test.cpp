#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <vector>

#include "practice/core/two_number_generator.h"
#include "support/qstring_printer.h"
#include "support/scripted_source.h"

namespace sumbrook {
namespace {

using testing::ScriptedSource;
using enum BlankPosition;

// A u for which drawUpTo(n) gives k; drawUpTo(0) gives 1 whatever u is.
double draw(int k, int n) {
    return n == 0 ? 0.5 : testing::drawing(k, n);
}
double side(int s) {
    return testing::coinShowing(s);
}

// The question as the screen reads: "□" at a blank operand, "?" at a blank result.
QString shown(const TwoNumberQuestion& q) {
    return QStringLiteral("%1 %2 %3 = %4")
        .arg(q.blank == Left ? QStringLiteral("□") : q.xian1, q.xian_fu,
             q.blank == Right ? QStringLiteral("□") : q.xian2,
             q.blank == Result ? QStringLiteral("?") : q.xian4);
}

// The field at the blank is the empty text and no other field is.
bool blankIsOnlyAtItsPosition(const TwoNumberQuestion& q) {
    return q.xian1.isEmpty() == (q.blank == Left) && q.xian2.isEmpty() == (q.blank == Right) &&
           q.xian4.isEmpty() == (q.blank == Result);
}

struct SteeredRow {
    int xiangm;
    std::vector<double> draws;
    const char* shown;
    int deshu;
};

TEST(TwoNumberGenerator, SteeredDrawsReachEachExercisesForms) {
    const SteeredRow rows[] = {
        {1, {draw(4, 4), draw(1, 0)}, "4 + 1 = ?", 5},  // the only sum of 5
        {1, {draw(1, 4), draw(1, 3)}, "1 + 1 = ?", 2},
        {2, {draw(2, 4), draw(2, 2)}, "4 - 2 = ?", 2},
        {3, {side(0), draw(1, 4), draw(3, 3)}, "1 + 3 = ?", 4},
        {3, {side(1), draw(1, 4), draw(3, 3)}, "4 - 1 = ?", 3},
        {4, {draw(9, 9), draw(1, 0)}, "9 + 1 = ?", 10},
        {5, {draw(3, 9), draw(6, 6)}, "9 - 3 = ?", 6},
        {6, {side(0), draw(2, 9), draw(7, 7)}, "2 + 7 = ?", 9},
        {6, {side(1), draw(2, 9), draw(7, 7)}, "9 - 2 = ?", 7},
        {8, {side(0), draw(3, 9)}, "□ + 7 = 10", 3},
        {8, {side(1), draw(9, 9)}, "9 + □ = 10", 1},
        {9, {side(0), draw(2, 9), draw(3, 7)}, "12 + 3 = ?", 15},
        {9, {side(1), draw(2, 9), draw(3, 7)}, "2 + 13 = ?", 15},
        {9, {side(0), draw(9, 9), draw(1, 0)}, "19 + 1 = ?", 20},
        {9, {side(1), draw(9, 9), draw(1, 0)}, "9 + 11 = ?", 20},
        {10, {draw(9, 9), draw(1, 0)}, "20 - 9 = ?", 11},
        {10, {draw(2, 9), draw(5, 7)}, "17 - 2 = ?", 15},
        {11, {draw(1, 8), draw(1, 1)}, "2 + 9 = ?", 11},
        {11, {draw(8, 8), draw(1, 8)}, "9 + 2 = ?", 11},
        {11, {draw(8, 8), draw(8, 8)}, "9 + 9 = ?", 18},
        {12, {draw(8, 8), draw(8, 8)}, "18 - 9 = ?", 9},
        {13, {draw(19, 19), draw(1, 0)}, "19 + 1 = ?", 20},
        {14, {draw(7, 19), draw(12, 12)}, "19 - 7 = ?", 12},
        {15, {side(0), draw(19, 19), draw(1, 0)}, "19 + 1 = ?", 20},
        {15, {side(1), draw(19, 19), draw(1, 0)}, "20 - 19 = ?", 1},
        {17, {draw(8, 8), draw(8, 8)}, "80 + 8 = ?", 88},
        {18, {draw(1, 8), draw(8, 8)}, "10 - 8 = ?", 2},
        {19, {draw(9, 9), draw(1, 0)}, "90 + 10 = ?", 100},
        {20, {draw(9, 9), draw(1, 0)}, "100 - 90 = ?", 10},  // 90 reaches 100 through drawUpTo(0)
        {20, {draw(1, 9), draw(8, 8)}, "90 - 10 = ?", 80},
        {20, {draw(4, 9), draw(3, 5)}, "70 - 40 = ?", 30},
        {21, {draw(9, 9), draw(9, 9)}, "90 + 9 = ?", 99},
        {22, {draw(8, 8), draw(8, 8)}, "17 + 80 = ?", 97},
        {22, {draw(1, 8), draw(78, 78)}, "87 + 10 = ?", 97},
        {23, {draw(1, 88), draw(8, 8)}, "11 - 8 = ?", 3},
        {23, {draw(88, 88), draw(1, 8)}, "98 - 1 = ?", 97},
        {24, {draw(8, 8), draw(18, 18)}, "98 - 80 = ?", 18},
        {24, {draw(1, 8), draw(88, 88)}, "98 - 10 = ?", 88},
    };
    for (const SteeredRow& row : rows) {
        SCOPED_TRACE(::testing::Message() << "exercise " << row.xiangm << ": " << row.shown);
        ScriptedSource source(row.draws);
        const TwoNumberQuestion q = TwoNumberGenerator::generate(row.xiangm, source);
        EXPECT_EQ(shown(q), QString::fromUtf8(row.shown));
        EXPECT_EQ(q.deshu, row.deshu);
        EXPECT_TRUE(blankIsOnlyAtItsPosition(q));
        EXPECT_EQ(source.remaining(), 0u);
    }
}

struct FillRow {
    int xiangm;
    int bound;  // a = drawUpTo(bound), b = drawUpTo(bound − a)
    int a;
    int b;
};

class FillTheBlank : public ::testing::TestWithParam<FillRow> {};

TEST_P(FillTheBlank, FourFormsOverOneSum) {
    const FillRow row = GetParam();
    const int s = row.a + row.b;
    struct Form {
        int f1;
        int f2;
        QString shown;
        BlankPosition blank;
        int deshu;
    };
    const Form forms[] = {
        {0, 0, QStringLiteral("□ + %1 = %2").arg(row.b).arg(s), Left, row.a},
        {1, 0, QStringLiteral("□ - %1 = %2").arg(row.a).arg(row.b), Left, s},
        {0, 1, QStringLiteral("%1 + □ = %2").arg(row.a).arg(s), Right, row.b},
        {1, 1, QStringLiteral("%1 - □ = %2").arg(s).arg(row.a), Right, row.b},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.shown.toStdString());
        ScriptedSource source{side(form.f1), side(form.f2), draw(row.a, row.bound),
                              draw(row.b, row.bound - row.a)};
        const TwoNumberQuestion q = TwoNumberGenerator::generate(row.xiangm, source);
        EXPECT_EQ(shown(q), form.shown);
        EXPECT_EQ(q.blank, form.blank);
        EXPECT_EQ(q.deshu, form.deshu);
        EXPECT_TRUE(blankIsOnlyAtItsPosition(q));
        EXPECT_EQ(source.remaining(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Exercises7And16And33, FillTheBlank,
                         ::testing::Values(FillRow{7, 9, 3, 4}, FillRow{7, 9, 9, 1},
                                           FillRow{16, 19, 12, 5}, FillRow{33, 99, 40, 35},
                                           FillRow{33, 99, 99, 1}));  // s = 100

// Inclusive range of a number on the screen, in steps (10 for whole tens).
struct Span {
    int lo;
    int hi;
    int step = 1;
    bool has(int n) const { return n >= lo && n <= hi && n % step == 0; }
};

// One form of an exercise: left operator right = value, once the blank is filled in.
struct Shape {
    char op;
    BlankPosition blank;
    Span left;
    Span right;
    Span value;
};

std::vector<Shape> sumShapes(int bound) {
    return {{'+', Result, {1, bound}, {1, bound - 1}, {2, bound + 1}}};
}
std::vector<Shape> differenceShapes(int bound) {
    return {{'-', Result, {2, bound + 1}, {1, bound}, {1, bound - 1}}};
}
std::vector<Shape> bothShapes(int bound) {
    return {sumShapes(bound)[0], differenceShapes(bound)[0]};
}
std::vector<Shape> fillShapes(int bound) {
    const Span a{1, bound}, b{1, bound - 1}, s{2, bound + 1};
    return {
        {'+', Left, a, b, s}, {'-', Left, s, a, b}, {'+', Right, a, b, s}, {'-', Right, s, b, a}};
}

struct SweepRow {
    int xiangm;
    std::vector<Shape> shapes;
    int samples = 20000;
};

void PrintTo(const SweepRow& row, std::ostream* out) {
    *out << "exercise " << row.xiangm;
}

class TwoNumberSweep : public ::testing::TestWithParam<SweepRow> {};

// Every question is a true equation of one of the exercise's forms, and over many draws each
// form reaches both ends of each of its ranges, so the ranges are neither narrower nor wider.
TEST_P(TwoNumberSweep, QuestionsAreTrueAndFillTheirRangesExactly) {
    const SweepRow& row = GetParam();
    struct Seen {
        int lo[3] = {INT_MAX, INT_MAX, INT_MAX};
        int hi[3] = {INT_MIN, INT_MIN, INT_MIN};
    };
    std::vector<Seen> seen(row.shapes.size());
    SeededUniformSource source(static_cast<std::uint64_t>(row.xiangm));
    for (int i = 0; i < row.samples; ++i) {
        const TwoNumberQuestion q = TwoNumberGenerator::generate(row.xiangm, source);
        ASSERT_TRUE(blankIsOnlyAtItsPosition(q)) << shown(q).toStdString();
        ASSERT_TRUE(q.xian_fu == QStringLiteral("+") || q.xian_fu == QStringLiteral("-"));
        ASSERT_GE(q.deshu, 1) << shown(q).toStdString();
        bool ok = true;
        auto number = [&](const QString& text, BlankPosition at) {
            bool parsed = true;
            const int n = q.blank == at ? q.deshu : text.toInt(&parsed);
            ok = ok && parsed;
            return n;
        };
        const int n[3] = {number(q.xian1, Left), number(q.xian2, Right), number(q.xian4, Result)};
        ASSERT_TRUE(ok) << shown(q).toStdString();
        const char op = q.xian_fu == QStringLiteral("+") ? '+' : '-';
        ASSERT_EQ(op == '+' ? n[0] + n[1] : n[0] - n[1], n[2]) << shown(q).toStdString();
        const auto shape = std::find_if(row.shapes.begin(), row.shapes.end(), [&](const Shape& s) {
            return s.op == op && s.blank == q.blank && s.left.has(n[0]) && s.right.has(n[1]) &&
                   s.value.has(n[2]);
        });
        ASSERT_NE(shape, row.shapes.end()) << "no form of the exercise: " << shown(q).toStdString();
        Seen& range = seen[static_cast<std::size_t>(shape - row.shapes.begin())];
        for (int k = 0; k < 3; ++k) {
            range.lo[k] = std::min(range.lo[k], n[k]);
            range.hi[k] = std::max(range.hi[k], n[k]);
        }
    }
    for (std::size_t s = 0; s < row.shapes.size(); ++s) {
        const Shape& shape = row.shapes[s];
        const Span spans[3] = {shape.left, shape.right, shape.value};
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(seen[s].lo[k], spans[k].lo) << "form " << s << ", number " << k;
            EXPECT_EQ(seen[s].hi[k], spans[k].hi) << "form " << s << ", number " << k;
        }
    }
}

const Span kTens{10, 80, 10};

INSTANTIATE_TEST_SUITE_P(
    AllTwoNumberExercises, TwoNumberSweep,
    ::testing::Values(
        SweepRow{1, sumShapes(4)}, SweepRow{2, differenceShapes(4)}, SweepRow{3, bothShapes(4)},
        SweepRow{4, sumShapes(9)}, SweepRow{5, differenceShapes(9)}, SweepRow{6, bothShapes(9)},
        SweepRow{7, fillShapes(9)},
        SweepRow{8,
                 {{'+', Left, {1, 9}, {1, 9}, {10, 10}}, {'+', Right, {1, 9}, {1, 9}, {10, 10}}}},
        SweepRow{
            9,
            {{'+', Result, {11, 19}, {1, 8}, {12, 20}}, {'+', Result, {1, 9}, {11, 18}, {12, 20}}}},
        SweepRow{10, {{'-', Result, {12, 20}, {1, 9}, {11, 18}}}},
        SweepRow{11, {{'+', Result, {2, 9}, {2, 9}, {11, 18}}}},  // always carries
        SweepRow{12, {{'-', Result, {11, 18}, {2, 9}, {2, 9}}}},  // always borrows
        SweepRow{13, sumShapes(19)}, SweepRow{14, differenceShapes(19)},
        SweepRow{15, bothShapes(19)}, SweepRow{16, fillShapes(19)},
        SweepRow{17, {{'+', Result, kTens, {1, 8}, {11, 88}}}},
        SweepRow{18, {{'-', Result, kTens, {1, 8}, {2, 79}}}},
        SweepRow{19, {{'+', Result, {10, 90, 10}, kTens, {20, 100, 10}}}},
        SweepRow{20, {{'-', Result, {20, 100, 10}, {10, 90, 10}, kTens}}},
        SweepRow{21, {{'+', Result, {10, 90, 10}, {1, 9}, {11, 99}}}},
        SweepRow{22, {{'+', Result, {10, 87}, kTens, {20, 97}}}},
        SweepRow{23, {{'-', Result, {11, 98}, {1, 8}, {3, 97}}}},
        SweepRow{24, {{'-', Result, {11, 98}, kTens, {1, 88}}}},
        // b = 98 and s = 2 each need a = 1 and an end of drawUpTo(98): many draws.
        SweepRow{33, fillShapes(99), 600000}),
    [](const auto& row) { return "exercise" + std::to_string(row.param.xiangm); });

struct OnlyRow {
    int xiangm;
    int number;  // a number that shows up only in the questions listed
    std::set<QString> questions;
};

// The largest numbers of these exercises are reached only through drawUpTo(0) = 1.
TEST(TwoNumberGenerator, LargestNumbersAppearOnlyInTheirOwnQuestions) {
    const std::vector<OnlyRow> rows = {
        {1, 5, {"4 + 1 = ?"}},
        {4, 10, {"9 + 1 = ?"}},
        {9, 20, {"19 + 1 = ?", "9 + 11 = ?"}},
        {10, 20, {"20 - 9 = ?"}},
        {13, 20, {"19 + 1 = ?"}},
        {19, 100, {"90 + 10 = ?"}},
        {20, 100, {"100 - 90 = ?"}},
        {33, 100, {"□ + 1 = 100", "□ - 99 = 1", "99 + □ = 100", "100 - □ = 99"}},
    };
    for (const OnlyRow& row : rows) {
        SCOPED_TRACE(row.xiangm);
        SeededUniformSource source(static_cast<std::uint64_t>(1000 + row.xiangm));
        std::set<QString> found;
        for (int i = 0; i < 20000; ++i) {
            const TwoNumberQuestion q = TwoNumberGenerator::generate(row.xiangm, source);
            const int shownNumbers[3] = {q.blank == Left ? q.deshu : q.xian1.toInt(),
                                         q.blank == Right ? q.deshu : q.xian2.toInt(),
                                         q.blank == Result ? q.deshu : q.xian4.toInt()};
            if (std::find(std::begin(shownNumbers), std::end(shownNumbers), row.number) !=
                std::end(shownNumbers)) {
                found.insert(shown(q));
            }
        }
        EXPECT_EQ(found, row.questions);
    }
}

}  // namespace
}  // namespace sumbrook
