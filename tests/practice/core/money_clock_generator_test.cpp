#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>
#include <vector>

#include "practice/core/clock_generator.h"
#include "practice/core/money_generator.h"
#include "support/qstring_printer.h"
#include "support/scripted_source.h"

namespace sumbrook {
namespace {

using testing::ScriptedSource;

const double kJustBelowOne = std::nextafter(1.0, 0.0);

struct MoneyRow {
    std::vector<int> pictures;
    int value;
    const char* unit;
};

// Several pictures show different notes or coins of the same value.
const MoneyRow kMoney[] = {
    {{1, 2, 36}, 1, "分"},
    {{3, 4, 37}, 2, "分"},
    {{5, 38}, 5, "分"},
    {{6, 7, 39, 42, 45}, 1, "角"},
    {{8, 9}, 2, "角"},
    {{10, 11, 40, 43, 46}, 5, "角"},
    {{12, 13, 18, 19, 41, 44, 47}, 1, "元"},
    {{14, 15}, 2, "元"},
    {{16, 17, 20, 21}, 5, "元"},
    {{22, 23, 24, 25}, 10, "元"},
    {{30, 31}, 20, "元"},
    {{26, 27, 32, 33}, 50, "元"},
    {{28, 29, 34, 35}, 100, "元"},
};

TEST(MoneyGenerator, EveryPictureHasItsValueAndUnit) {
    std::set<int> covered;
    for (const MoneyRow& row : kMoney) {
        for (int picture : row.pictures) {
            SCOPED_TRACE(picture);
            const MoneyQuestion q = MoneyGenerator::forPicture(picture);
            EXPECT_EQ(q.picture, picture);
            EXPECT_EQ(q.deshu, row.value);
            EXPECT_EQ(q.danw, QString::fromUtf8(row.unit));
            EXPECT_EQ(q.deshu2, QString::number(row.value) + QString::fromUtf8(row.unit));
            EXPECT_EQ(correctAnswerText(q), q.deshu2);
            EXPECT_TRUE(covered.insert(picture).second);
        }
    }
    EXPECT_EQ(covered.size(), 47u);
    EXPECT_EQ(*covered.begin(), 1);
    EXPECT_EQ(*covered.rbegin(), 47);
    EXPECT_EQ(MoneyGenerator::forPicture(30).deshu2, QStringLiteral("20元"));
    EXPECT_THROW(MoneyGenerator::forPicture(0), std::out_of_range);
    EXPECT_THROW(MoneyGenerator::forPicture(48), std::out_of_range);
}

TEST(MoneyGenerator, PictureComesFromOneUniformDraw) {
    const std::vector<std::pair<double, int>> rows = {
        {0.0, 1},        {0.99 / 47, 1},   {1.01 / 47, 2},      {0.5, 24},
        {29.5 / 47, 30}, {46.01 / 47, 47}, {kJustBelowOne, 47},
    };
    for (const auto& [u, picture] : rows) {
        ScriptedSource source{u};
        const MoneyQuestion q = MoneyGenerator::generate(source);
        EXPECT_EQ(q.picture, picture) << u;
        EXPECT_EQ(q.deshu, MoneyGenerator::forPicture(picture).deshu) << u;
        EXPECT_EQ(source.remaining(), 0u);
    }
    SeededUniformSource seeded(37);
    std::set<int> seen;
    for (int i = 0; i < 5000; ++i) {
        seen.insert(MoneyGenerator::generate(seeded).picture);
    }
    EXPECT_EQ(seen.size(), 47u);
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), 47);
}

struct TimeRow {
    int hour;
    int minute;
    double hourAngle;
    double minuteAngle;
    const char* deshu2;
};

TEST(ClockGenerator, HandsAndAnswerTextOfATime) {
    const TimeRow rows[] = {
        {3, 30, 105, 180, "3点30分"},  // the hour hand half-way between 3 and 4
        {3, 15, 97.5, 90, "3点15分"},   {12, 0, 360, 0, "12点0分"},  // 360° is drawn as 12
        {1, 0, 30, 0, "1点0分"},        {11, 45, 352.5, 270, "11点45分"},
        {6, 45, 202.5, 270, "6点45分"},
    };
    for (const TimeRow& row : rows) {
        SCOPED_TRACE(row.deshu2);
        const ClockQuestion q = ClockGenerator::forTime(row.hour, row.minute);
        EXPECT_EQ(q.deshu, row.hour);
        EXPECT_EQ(q.deshu0, row.minute);
        EXPECT_DOUBLE_EQ(q.hourAngle, row.hourAngle);
        EXPECT_DOUBLE_EQ(q.minuteAngle, row.minuteAngle);
        EXPECT_EQ(q.deshu2, QString::fromUtf8(row.deshu2));
        EXPECT_EQ(correctAnswerText(q), QString::fromUtf8(row.deshu2));
        EXPECT_EQ(expectedAnswer(q), row.hour);
    }
}

TEST(ClockGenerator, HourThenMinuteEachFromOneDraw) {
    struct Row {
        double uHour;
        double uMinute;
        int hour;
        int minute;
    };
    const Row rows[] = {
        {0.0, 0.0, 1, 0},         {2.5 / 12, 0.5, 3, 30},
        {11.5 / 12, 0.1, 12, 0},  {kJustBelowOne, kJustBelowOne, 12, 45},
        {0.99 / 12, 0.26, 1, 15},
    };
    for (const Row& row : rows) {
        ScriptedSource source{row.uHour, row.uMinute};
        const ClockQuestion q = ClockGenerator::generate(source);
        EXPECT_EQ(q.deshu, row.hour) << row.uHour;
        EXPECT_EQ(q.deshu0, row.minute) << row.uMinute;
        EXPECT_EQ(source.remaining(), 0u);
    }
    SeededUniformSource seeded(36);
    std::set<int> hours, minutes;
    for (int i = 0; i < 5000; ++i) {
        const ClockQuestion q = ClockGenerator::generate(seeded);
        hours.insert(q.deshu);
        minutes.insert(q.deshu0);
    }
    EXPECT_EQ(hours, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));  // never 0
    EXPECT_EQ(minutes, (std::set<int>{0, 15, 30, 45}));
}

}  // namespace
}  // namespace sumbrook
