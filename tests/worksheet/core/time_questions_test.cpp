#include <gtest/gtest.h>
#include <QStringList>

#include <functional>
#include <map>
#include <set>

#include "worksheet/core/generation_error.h"
#include "worksheet/core/time_questions.h"

namespace sumbrook {
namespace {

QuestionList generate(const std::map<int, double>& tagCounts, std::uint32_t tick) {
    WorksheetCounts counts;
    for (const auto& [tag, n] : tagCounts) {
        counts.setCount(tag, n);
    }
    FixedTickSource ticks(tick);
    WorksheetRandom random(ticks);
    QuestionList list;
    GenerateTimeQuestions(counts, random, list);
    return list;
}

TEST(TimeQuestions, SubtypesFollowThePageRowsAndKeepTheirMinutes) {
    // Two of each, in the rows' order: tags 21, 22, 23, 25, 24.
    const std::function<bool(int)> minutes[] = {
        [](int m) { return m == 0; },
        [](int m) { return m == 30; },
        [](int m) { return m % 5 == 0 && m >= 5 && m <= 55 && m != 30; },
        [](int m) { return m % 15 == 0 && m <= 45; },
        [](int m) { return m >= 0 && m <= 59; },
    };
    for (std::uint32_t tick = 0; tick < 3'000; tick += 7) {
        const QuestionList list = generate({{21, 2}, {22, 2}, {23, 2}, {24, 2}, {25, 2}}, tick);
        ASSERT_EQ(list.size(), 10);
        for (int i = 1; i <= 10; ++i) {
            const QString& text = list.at(i).text;
            const QStringList parts = text.split(u',');
            const int hour = parts.value(0).toInt(), minute = parts.value(1).toInt();
            EXPECT_EQ(text, QStringLiteral("%1,%2").arg(hour).arg(minute));
            EXPECT_TRUE(hour >= 1 && hour <= 12 && minutes[(i - 1) / 2](minute))
                << i << ": " << text.toStdString();
            EXPECT_EQ(list.at(i).answer, QStringLiteral("%1时%2分").arg(hour).arg(minute));
            for (int j = i + 1; j <= 10; ++j) {  // a later time never begins an earlier one
                EXPECT_FALSE(text.startsWith(list.at(j).text)) << list.at(j).text.toStdString();
            }
        }
    }
}

TEST(TimeQuestions, OnTheHourRunsOutAfterTwelve) {
    const QuestionList list = generate({{21, 12}}, 11);
    std::set<QString> texts;
    for (const WorksheetQuestion& q : list.items()) {
        texts.insert(q.text);
    }
    EXPECT_EQ(texts.size(), 12u);
    EXPECT_THROW(generate({{21, 13}}, 11), GenerationError);
    // After every on-the-hour and half-past time only 24 quarter hours are left.
    EXPECT_THROW(generate({{21, 12}, {22, 12}, {25, 25}}, 11), GenerationError);
}

}  // namespace
}  // namespace sumbrook
