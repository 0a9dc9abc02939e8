#include <gtest/gtest.h>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
#include <vector>

#include "practice/core/expression_generator.h"
#include "support/qstring_printer.h"
#include "support/scripted_source.h"

namespace sumbrook {
namespace {

using testing::choosing;
using testing::ScriptedSource;

double draw(int k, int n) {
    return n == 0 ? 0.5 : testing::drawing(k, n);
}
double side(int s) {
    return testing::coinShowing(s);
}
// Entries of the display order: drawUpTo(3) gives the position.
const double P1 = draw(1, 3), P2 = draw(2, 3), P3 = draw(3, 3);

// An expression text read back: its numbers, its signs with their spacing, its value.
struct Parsed {
    std::vector<int> numbers;
    QString kind;  // "spaced ++", "tight -+", "spaced -" and so on
    int value = 0;
};

std::optional<Parsed> parse(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d+)( \+ | - |\+|-)(\d+)(?:( \+ | - |\+|-)(\d+))?$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    Parsed p;
    p.numbers.push_back(m.captured(1).toInt());
    QString signs;
    std::set<bool> spacing;
    for (int group : {2, 4}) {
        const QString separator = m.captured(group);
        if (separator.isEmpty()) {
            break;
        }
        const int n = m.captured(group + 1).toInt();
        const bool plus = separator.contains(u'+');
        p.numbers.push_back(n);
        signs += plus ? u'+' : u'-';
        spacing.insert(separator.size() == 3);
    }
    if (spacing.size() != 1) {
        return std::nullopt;  // one sign spaced, the other not
    }
    p.kind = (*spacing.begin() ? QStringLiteral("spaced ") : QStringLiteral("tight ")) + signs;
    p.value = p.numbers[0];
    for (qsizetype i = 0; i < signs.size(); ++i) {
        p.value += signs[i] == u'+' ? p.numbers[static_cast<std::size_t>(i) + 1]
                                    : -p.numbers[static_cast<std::size_t>(i) + 1];
    }
    return p;
}

struct SteeredRow {
    int xiangm;
    std::vector<double> draws;
    const char* xian1;
    int deshu;
};

TEST(ExpressionGenerator, SteeredDrawsReachEachForm) {
    const SteeredRow rows[] = {
        // q1 = 4, q2 = 5 (above 4, drawn again as 5), q3 from drawUpTo(0): a sum of 10.
        {25, {P1, P2, P3, draw(4, 8), draw(5, 5), draw(5, 5), draw(1, 0)}, "4 + 5 + 1", 10},
        {25, {P1, P2, P3, draw(4, 8), draw(4, 5), draw(1, 1)}, "4 + 4 + 1", 9},
        // q1 above 4 is drawn again at most twice; the third draw stands even if above 4.
        {25,
         {P1, P2, P3, draw(7, 8), draw(6, 8), draw(8, 8), draw(1, 1), draw(1, 0)},
         "8 + 1 + 1",
         10},
        {25, {P1, P2, P3, draw(6, 8), draw(2, 8), draw(3, 7), draw(4, 4)}, "2 + 3 + 4", 9},
        // q2 above 4 is drawn again once, and that draw stands.
        {25, {P1, P2, P3, draw(1, 8), draw(7, 8), draw(8, 8), draw(1, 0)}, "1 + 8 + 1", 10},
        // A repeated position is drawn again until it is free: the order is 2, 1, 3.
        {25, {P2, P2, P2, P1, P2, P1, P3, draw(1, 8), draw(2, 8), draw(3, 6)}, "2 + 1 + 3", 6},
        {26, {P3, P1, P2, draw(2, 8), draw(3, 7), draw(4, 4)}, "9 - 2 - 3", 4},
        {27, {P1, P2, P3, draw(2, 8), draw(3, 7), draw(4, 4), choosing(0, 2)}, "9 - 3 - 4", 2},
        {27, {P1, P2, P3, draw(2, 8), draw(3, 7), draw(4, 4), choosing(1, 2)}, "2 + 3 + 4", 9},
        {28, {choosing(0, 2), draw(1, 9), draw(1, 0), draw(10, 10)}, "1 - 1 + 10", 10},
        {28, {choosing(0, 2), draw(1, 9), draw(1, 0), draw(1, 10)}, "1 - 1 + 1", 1},
        {28, {choosing(1, 2), draw(9, 9), draw(1, 1), draw(9, 9)}, "9 + 1 - 9", 1},
        {28, {choosing(1, 2), draw(3, 9), draw(7, 7), draw(1, 9)}, "3 + 7 - 1", 9},
        {29, {P1, P2, P3, draw(11, 18), draw(10, 18), draw(9, 9), draw(1, 1)}, "10 + 9 + 1", 20},
        {29,
         {P1, P2, P3, draw(18, 18), draw(17, 18), draw(18, 18), draw(1, 1), draw(1, 1)},
         "18 + 1 + 1",
         20},
        {29, {P1, P2, P3, draw(1, 18), draw(11, 18), draw(12, 18), draw(7, 7)}, "1 + 12 + 7", 20},
        {30, {P2, P3, P1, draw(5, 18), draw(6, 14), draw(9, 9)}, "20 - 9 - 5", 6},
        {31,
         {P1, P2, P3, draw(3, 18), draw(4, 16), draw(13, 13), choosing(1, 2)},
         "3 + 4 + 13",
         20},
        {31,
         {P1, P2, P3, draw(3, 18), draw(4, 16), draw(13, 13), choosing(0, 2)},
         "20 - 4 - 13",
         3},
        {32, {choosing(0, 2), draw(19, 19), draw(18, 18), draw(19, 19)}, "19-18+19", 20},
        {32, {choosing(1, 2), draw(5, 19), draw(15, 15), draw(1, 19)}, "5+15-1", 19},
        {34, {choosing(0, 4), draw(12, 19), draw(5, 11), draw(3, 13)}, "12-5+3", 10},
        {34, {choosing(1, 4), draw(19, 19), draw(1, 1), draw(19, 19)}, "19+1-19", 1},
        {34,
         {choosing(2, 4), P1, P2, P3, draw(3, 18), draw(4, 16), draw(13, 13), choosing(0, 2)},
         "20 - 4 - 13",
         3},
        {34, {choosing(3, 4), side(0), draw(3, 19), draw(4, 16)}, "3 + 4", 7},
        {34, {choosing(3, 4), side(1), draw(3, 19), draw(16, 16)}, "19 - 3", 16},
        {34, {choosing(3, 4), side(1), draw(19, 19), draw(1, 0)}, "20 - 19", 1},
        {35, {choosing(0, 4), draw(99, 99), draw(98, 98), draw(99, 99)}, "99-98+99", 100},
        {35, {choosing(1, 4), draw(50, 99), draw(50, 50), draw(1, 99)}, "50+50-1", 99},
        {35, {choosing(2, 4), side(1), draw(40, 99), draw(59, 59)}, "99 - 40", 59},
        {35, {choosing(2, 4), side(0), draw(98, 99), draw(1, 1)}, "98 + 1", 99},
        // q1 above 50 is drawn again; q2 above 10 is drawn again once.
        {35,
         {choosing(3, 4), P1, P2, P3, draw(51, 98), draw(50, 98), draw(11, 49), draw(11, 49),
          draw(39, 39), choosing(1, 2)},
         "50 + 11 + 39",
         100},
    };
    for (const SteeredRow& row : rows) {
        SCOPED_TRACE(::testing::Message() << "exercise " << row.xiangm << ": " << row.xian1);
        ScriptedSource source(row.draws);
        const ExpressionQuestion q = ExpressionGenerator::generate(row.xiangm, source);
        EXPECT_EQ(q.xian1, QString::fromUtf8(row.xian1));
        EXPECT_EQ(q.deshu, row.deshu);
        EXPECT_EQ(source.remaining(), 0u);
    }
}

TEST(ExpressionGenerator, DisplayOrderPlacesEachDrawnNumberOnce) {
    struct Row {
        double o1, o2, o3;
        const char* sum;
        const char* difference;
        int x;
    };
    // q1 = 1, q2 = 2, q3 = 3 in every row.
    const Row rows[] = {
        {P1, P2, P3, "1 + 2 + 3", "6 - 2 - 3", 1}, {P1, P3, P2, "1 + 3 + 2", "6 - 3 - 2", 1},
        {P2, P1, P3, "2 + 1 + 3", "6 - 1 - 3", 2}, {P2, P3, P1, "2 + 3 + 1", "6 - 3 - 1", 2},
        {P3, P1, P2, "3 + 1 + 2", "6 - 1 - 2", 3}, {P3, P2, P1, "3 + 2 + 1", "6 - 2 - 1", 3},
    };
    for (const Row& row : rows) {
        for (int xiangm : {25, 26}) {
            ScriptedSource source{row.o1, row.o2, row.o3, draw(1, 8), draw(2, 8), draw(3, 6)};
            const ExpressionQuestion q = ExpressionGenerator::generate(xiangm, source);
            EXPECT_EQ(q.xian1, QString::fromUtf8(xiangm == 25 ? row.sum : row.difference));
            EXPECT_EQ(q.deshu, xiangm == 25 ? 6 : row.x);
            EXPECT_EQ(source.remaining(), 0u);
        }
    }
}

struct SweepRow {
    int xiangm;
    int bound;
    std::set<QString> kinds;
};

void PrintTo(const SweepRow& row, std::ostream* out) {
    *out << "exercise " << row.xiangm;
}

class ExpressionSweep : public ::testing::TestWithParam<SweepRow> {};

// Every text reads back as an expression whose value is deshu, in one of the exercise's
// forms and spacings; answers and numbers stay within 1..bound and reach the bound.
TEST_P(ExpressionSweep, TextsEvaluateToTheAnswerWithinTheBound) {
    const SweepRow& row = GetParam();
    SeededUniformSource source(static_cast<std::uint64_t>(row.xiangm));
    std::set<QString> kinds;
    int largest = 0;
    for (int i = 0; i < 20000; ++i) {
        const ExpressionQuestion q = ExpressionGenerator::generate(row.xiangm, source);
        const std::optional<Parsed> p = parse(q.xian1);
        ASSERT_TRUE(p) << q.xian1.toStdString();
        ASSERT_TRUE(row.kinds.contains(p->kind)) << q.xian1.toStdString();
        ASSERT_EQ(p->value, q.deshu) << q.xian1.toStdString();
        ASSERT_GE(q.deshu, 1) << q.xian1.toStdString();
        ASSERT_LE(q.deshu, row.bound) << q.xian1.toStdString();
        for (int n : p->numbers) {
            ASSERT_GE(n, 1) << q.xian1.toStdString();
            ASSERT_LE(n, row.bound) << q.xian1.toStdString();
            largest = std::max(largest, n);
        }
        if (p->kind.endsWith(QStringLiteral("-+"))) {
            ASSERT_GE(p->numbers[0], p->numbers[1])
                << q.xian1.toStdString();  // a − b may be 0, never less
        }
        kinds.insert(p->kind);
        largest = std::max(largest, q.deshu);
    }
    EXPECT_EQ(kinds, row.kinds);
    EXPECT_EQ(largest, row.bound);
}

const std::set<QString> kReviewKinds = {"tight -+",  "tight +-", "spaced ++",
                                        "spaced --", "spaced +", "spaced -"};

INSTANTIATE_TEST_SUITE_P(
    AllExpressionExercises, ExpressionSweep,
    ::testing::Values(SweepRow{25, 10, {"spaced ++"}}, SweepRow{26, 10, {"spaced --"}},
                      SweepRow{27, 10, {"spaced ++", "spaced --"}},
                      SweepRow{28, 10, {"spaced -+", "spaced +-"}}, SweepRow{29, 20, {"spaced ++"}},
                      SweepRow{30, 20, {"spaced --"}}, SweepRow{31, 20, {"spaced ++", "spaced --"}},
                      SweepRow{32, 20, {"tight -+", "tight +-"}}, SweepRow{34, 20, kReviewKinds},
                      SweepRow{35, 100, kReviewKinds}),
    [](const auto& row) { return "exercise" + std::to_string(row.param.xiangm); });

// Hands out one value for ever; after many draws it records a failure and starts to vary,
// so that a generator which would loop ends and the test reports it instead of hanging.
class StuckSource final : public UniformSource {
  public:
    explicit StuckSource(double u) : u_(u) {}
    double next() override {
        if (++draws_ <= kLimit) {
            return u_;
        }
        if (draws_ == kLimit + 1) {
            ADD_FAILURE() << "still drawing after " << kLimit << " draws of " << u_;
        }
        return static_cast<double>(draws_ % 3) / 3 + 0.1;
    }

  private:
    static constexpr long kLimit = 100000;
    double u_;
    long draws_ = 0;
};

TEST(ExpressionGenerator, ASourceThatNeverChangesStillYieldsAQuestion) {
    for (double u : {0.0, 0.5, std::nextafter(1.0, 0.0)}) {
        for (int xiangm : {25, 26, 27, 29, 30, 31, 34, 35}) {
            SCOPED_TRACE(::testing::Message() << "exercise " << xiangm << ", u " << u);
            StuckSource source(u);
            const ExpressionQuestion q = ExpressionGenerator::generate(xiangm, source);
            const std::optional<Parsed> p = parse(q.xian1);
            ASSERT_TRUE(p) << q.xian1.toStdString();
            EXPECT_EQ(p->value, q.deshu) << q.xian1.toStdString();
        }
    }
}

}  // namespace
}  // namespace sumbrook
