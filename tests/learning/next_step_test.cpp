#include <gtest/gtest.h>

#include "answers.h"
#include "learning/next_step.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

using testing::sum;

struct Met {
    int exercise;
    Fluency state;
    PracticeFact fact = testing::sum(1, 1);
    int missed = 0;
    std::int64_t medianMs = 3000;
};

std::vector<Met> everyExerciseFluent() {
    std::vector<Met> met;
    for (int e = 1; e <= 37; ++e) {
        met.push_back({e, Fluency::Fluent});
    }
    return met;
}

TEST(NextStep, NamesTheExerciseWithTheMostFactsStillBeingLearnt) {
    using enum Fluency;
    PracticeFact clock;
    clock.kind = FactKind::Clock;
    clock.hour = 3;
    clock.minute = 15;
    const struct {
        const char* what;
        std::vector<Met> met;
        int exercise;
        const char* sentence;
    } rows[] = {
        {"nothing practised yet", {}, 1, "先从第1项“5以内加法”开始吧，这一项还没练过。"},
        {"the most learning facts, the most missed named",
         {{2, Learning},
          {4, Learning, sum(3, 4), 2},
          {4, Learning, sum(2, 5), 5},
          {4, Learning, sum(1, 6), 1},
          {2, Learning},
          {9, Slow},
          {9, Slow},
          {9, Slow}},
         4,
         "先练第4项“10以内加法”：有3道题还没掌握，最常错的是 2 + 5。"},
        {"a tie goes to the lower exercise",
         {{6, Learning, sum(3, 4, 1), 1},
          {6, Learning},
          {5, Learning, sum(7, 1, 0), 1},
          {5, Learning}},
         5,
         "先练第5项“10以内减法”：有2道题还没掌握，最常错的是 □ + 1 = 8。"},
        {"on a tie of learning facts, the more slow ones",
         {{3, Learning, sum(1, 1)}, {6, Learning, sum(3, 4, 1), 1}, {6, Slow}},
         6,
         "先练第6项“10以内加减法”：有1道题还没掌握，最常错的是 3 + □ = 7。"},
        {"only slow facts: the slowest named",
         {{9, Slow, sum(12, 5), 0, 7000}, {9, Slow, sum(11, 3), 0, 9000}, {4, Slow}, {1, Fluent}},
         9,
         "先练第9项“20内不进位加”：有2道题会做但还不够快，最慢的是 11 + 3。"},
        {"a clock",
         {{36, Learning, clock, 3}},
         36,
         "先练第36项“认识时间”：有1道题还没掌握，最常错的是 3点15分。"},
        {"all tried so far known: the first not tried",
         {{1, Fluent}, {2, Fluent}, {3, Fluent}, {5, Fluent}},
         4,
         "练过的题都熟练了，接着练第4项“10以内加法”，这一项还没练过。"},
        {"every exercise known", everyExerciseFluent(), 0,
         "37项练习的题都已熟练，真棒！每天做做复习就能保持。"},
    };
    for (const auto& row : rows) {
        std::vector<FactStanding> standings;
        for (const Met& m : row.met) {
            FactStanding s;
            s.fact = m.fact;
            s.exercise = m.exercise;
            s.asked = m.missed + 3;
            s.missed = m.missed;
            s.medianMs = m.medianMs;
            s.state = m.state;
            standings.push_back(s);
        }
        const NextStep step = NextStep::of(standings);
        EXPECT_EQ(step.exercise, row.exercise) << row.what;
        EXPECT_EQ(step.sentence, QString::fromUtf8(row.sentence)) << row.what;
    }
}

}  // namespace
}  // namespace sumbrook
