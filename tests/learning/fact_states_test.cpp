#include <gtest/gtest.h>

#include <cstdlib>

#include "answers.h"
#include "learning/fact_learning.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

using testing::answer;
using testing::sum;
using testing::typist;

TEST(TypingSpeed, IsHalfTheMedianOfTheFastestTenRightOneDigitAnswers) {
    const struct {
        const char* what;
        std::vector<std::pair<int, std::int64_t>> oneDigitRight;  // so many answers in so long
        std::int64_t keyMs;
        bool measured;
    } rows[] = {
        {"no answers yet", {}, 600, false},
        {"four are too few", {{4, 1000}}, 600, false},
        {"five are enough", {{3, 1000}, {1, 1200}, {1, 1400}}, 500, true},
        {"slower answers do not count", {{10, 800}, {1, 5000}, {1, 9000}}, 400, true},
        {"one lucky double tap does not count", {{1, 100}, {9, 800}}, 400, true},
        {"a median of ten between two", {{5, 700}, {5, 900}}, 400, true},
        {"held above a floor", {{5, 200}}, 150, true},
        {"held below a ceiling", {{5, 5000}}, 1500, true},
    };
    for (const auto& row : rows) {
        QVector<FactAnswer> answers;
        for (const auto& [count, ms] : row.oneDigitRight) {
            answers += QVector<FactAnswer>(count, answer(sum(2, 3), 0, 900, true, ms));
        }
        // Misses and two-digit answers, however fast, say nothing of the key time.
        for (int i = 0; i < 10; ++i) {
            answers.push_back(answer(sum(2, 3), 0, 1000, false, 150));
            answers.push_back(answer(sum(7, 8), 0, 1000, true, 150));
        }
        const TypingSpeed speed = FactLearning(answers).typingSpeed();
        EXPECT_EQ(speed.keyMs, row.keyMs) << row.what;
        EXPECT_EQ(speed.measured, row.measured) << row.what;
    }
}

TEST(TypingSpeed, AllowsThreeSecondsAndEveryKeyOfTheAnswerWithEnter) {
    const TypingSpeed speed = FactLearning(typist(800)).typingSpeed();
    EXPECT_EQ(speed.thresholdMs(1), 3000 + 2 * 400);
    EXPECT_EQ(speed.thresholdMs(2), 3000 + 3 * 400);
    EXPECT_EQ(speed.thresholdMs(4), 3000 + 5 * 400);  // a clock's "10点45分"
}

// A slow typist (1200 ms a key: 6600 ms for 7 + 8) and a fast one (400 ms a key: 4200 ms).
TEST(FactStates, AreJudgedOnTheLastThreeAsksAgainstTheChildsOwnThreshold) {
    constexpr std::int64_t kSlowTypist = 2400;
    constexpr std::int64_t kFastTypist = 800;
    using enum Fluency;
    const struct {
        const char* what;
        std::int64_t typist;
        std::vector<std::int64_t> asks;  // the time of each answer, negative when wrong
        Fluency state;
    } rows[] = {
        {"never asked", kFastTypist, {}, New},
        {"5 s is fluent for a slow typist", kSlowTypist, {5000, 5000, 5000}, Fluent},
        {"5 s is slow for a fast typist", kFastTypist, {5000, 5000, 5000}, Slow},
        {"the threshold itself is within", kFastTypist, {4200, 4200}, Fluent},
        {"one fast ask is at most slow", kFastTypist, {2000}, Slow},
        {"two fast asks are fluent", kFastTypist, {2000, 3000}, Fluent},
        {"two of three fast", kFastTypist, {3000, 9000, 3000}, Fluent},
        {"one of three fast", kFastTypist, {3000, 9000, 9000}, Slow},
        {"a single miss", kFastTypist, {-3000}, Learning},
        {"a miss among the last three", kFastTypist, {3000, -3000, 3000, 3000}, Learning},
        {"a miss four asks ago is forgotten", kFastTypist, {-3000, 3000, 3000, 3000}, Fluent},
        {"a miss after fluent answers", kFastTypist, {3000, 3000, -3000}, Learning},
    };
    const PracticeFact fact = sum(7, 8);
    for (const auto& row : rows) {
        QVector<FactAnswer> answers = typist(row.typist);
        for (std::size_t i = 0; i < row.asks.size(); ++i) {
            const std::int64_t ms = row.asks[i];
            answers.push_back(answer(fact, static_cast<int>(i) + 1, 1700, ms > 0, std::abs(ms)));
        }
        const FactStanding standing = FactLearning(answers).standing(fact);
        EXPECT_EQ(fluencyName(standing.state), fluencyName(row.state)) << row.what;
        EXPECT_EQ(standing.asked, static_cast<int>(row.asks.size())) << row.what;
    }
}

TEST(FactStandings, CountEveryAnswerAndKeepTheLatestExerciseInKeyOrder) {
    // Out of order on purpose: a fact's answers are gathered wherever they come.
    const QVector<FactAnswer> answers{
        answer(sum(7, 8), 3, 900, false, 1000, 15),   answer(sum(7, 8), 0, 900, false, 9000, 11),
        answer(sum(7, 8), 0, 901, true, 5000, 11),    answer(sum(1, 2), 1, 800, true, 2500, 1),
        answer(sum(7, 8, 1), 0, 800, true, 6000, 16), answer(sum(7, 8), 2, 900, true, 4000, 13),
    };
    const FactLearning learning(answers);
    const struct {
        const char* key;
        int asked;
        int missed;
        std::int64_t medianMs;
        int exercise;
        QString expected;
    } rows[] = {
        {"1+2=[3]", 1, 0, 2500, 1, "3"},
        {"7+8=[15]", 4, 2, 4500, 15, "15"},
        {"7+[8]=15", 1, 0, 6000, 16, "8"},
    };
    ASSERT_EQ(learning.facts().size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const FactStanding& f = learning.facts()[i];
        EXPECT_EQ(f.fact.key(), QString::fromLatin1(rows[i].key));
        EXPECT_EQ(f.asked, rows[i].asked) << rows[i].key;
        EXPECT_EQ(f.missed, rows[i].missed) << rows[i].key;
        EXPECT_EQ(f.medianMs, rows[i].medianMs) << rows[i].key;
        EXPECT_EQ(f.exercise, rows[i].exercise) << rows[i].key;
        EXPECT_EQ(f.expected, rows[i].expected) << rows[i].key;
    }
    EXPECT_EQ(learning.facts()[1].lastAsked.toMSecsSinceEpoch(), answers[0].atMs);
}

}  // namespace
}  // namespace sumbrook
