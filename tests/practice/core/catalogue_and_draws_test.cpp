#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "practice/core/exercise_catalogue.h"
#include "practice/core/random_draws.h"
#include "support/qstring_printer.h"
#include "support/scripted_source.h"

namespace sumbrook {
namespace {

using testing::ScriptedSource;
using enum QuestionScreen;

struct CatalogueRow {
    int number;
    const char* title;
    QuestionScreen screen;
};

const CatalogueRow kCatalogue[] = {
    {1, "5以内加法", Jia},           {2, "5以内减法", Jia},         {3, "5以内加减法", Jia},
    {4, "10以内加法", Jia},          {5, "10以内减法", Jia},        {6, "10以内加减法", Jia},
    {7, "10以内填空", Jia},          {8, "凑10练习", Jia},          {9, "20内不进位加", Jia},
    {10, "20内不退位减", Jia},       {11, "20内进位加法", Jia},     {12, "20内退位减法", Jia},
    {13, "20以内加法", Jia},         {14, "20以内减法", Jia},       {15, "20以内加减法", Jia},
    {16, "20以内填空", Jia},         {17, "整十加一位数", Jia},     {18, "整十减一位数", Jia},
    {19, "整十加整十", Jia},         {20, "整十减整十", Jia},       {21, "两位数加一位数", Jia},
    {22, "两位数加整十", Jia},       {23, "两位数减一位数", Jia},   {24, "两位数减整十", Jia},
    {25, "10以内连加", Lianjia},     {26, "10以内连减", Lianjia},   {27, "10内连加及连减", Lianjia},
    {28, "10内加减混合", Lianjia},   {29, "20以内连加", Lianjia},   {30, "20以内连减", Lianjia},
    {31, "20内连加及连减", Lianjia}, {32, "20内加减混合", Lianjia}, {33, "100以内填空", Jia},
    {34, "一年级上综合", Lianjia},   {35, "一年级下综合", Lianjia}, {36, "认识时间", Shijian},
    {37, "认识人民币", Rmb},
};

TEST(ExerciseCatalogue, TitlesAndScreensOfAllThirtySevenExercises) {
    for (const CatalogueRow& row : kCatalogue) {
        SCOPED_TRACE(row.number);
        EXPECT_EQ(ExerciseCatalogue::exercise(row.number).number, row.number);
        EXPECT_EQ(ExerciseCatalogue::title(row.number), QString::fromUtf8(row.title));
        EXPECT_EQ(ExerciseCatalogue::screen(row.number), row.screen);
    }
}

TEST(ExerciseCatalogue, MenuColumnsListTheirExercisesTopToBottom) {
    // Page 1: three columns of eight; page 2: a column of eight and a column of five.
    const std::vector<std::tuple<int, int, std::vector<int>>> columns = {
        {1, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
        {1, 1, {9, 10, 11, 12, 13, 14, 15, 16}},
        {1, 2, {17, 18, 19, 20, 21, 22, 23, 24}},
        {2, 0, {25, 26, 27, 28, 29, 30, 31, 32}},
        {2, 1, {33, 34, 35, 36, 37}},
    };
    int placed = 0;
    for (const auto& [page, column, numbers] : columns) {
        for (std::size_t row = 0; row < numbers.size(); ++row) {
            const Exercise& e = ExerciseCatalogue::exercise(numbers[row]);
            SCOPED_TRACE(e.number);
            EXPECT_EQ(e.menuPage, page);
            EXPECT_EQ(e.column, column);
            EXPECT_EQ(e.row, static_cast<int>(row));
            ++placed;
        }
    }
    EXPECT_EQ(placed, 37);
}

TEST(ExerciseCatalogue, LevelTextIsEmDashAndNumberOrTheMenuTitle) {
    const std::vector<std::pair<int, QString>> rows = {
        {1, QStringLiteral("1\u20141")},   {7, QStringLiteral("1\u20147")},
        {24, QStringLiteral("1\u201424")}, {25, QStringLiteral("1\u201425")},
        {33, QStringLiteral("1\u201433")}, {35, QStringLiteral("1\u201435")},
        {36, QStringLiteral("认识时间")},  {37, QStringLiteral("认识人民币")},
    };
    for (const auto& [number, text] : rows) {
        EXPECT_EQ(ExerciseCatalogue::levelText(number), text) << number;
    }
}

TEST(ExerciseCatalogue, NumbersOutsideOneToThirtySevenAreNotExercises) {
    for (int number : {-1, 0, 38, 100}) {
        EXPECT_FALSE(ExerciseCatalogue::contains(number)) << number;
        EXPECT_THROW(ExerciseCatalogue::exercise(number), std::out_of_range) << number;
    }
    EXPECT_TRUE(ExerciseCatalogue::contains(1));
    EXPECT_TRUE(ExerciseCatalogue::contains(37));
}

const double kJustBelowOne = std::nextafter(1.0, 0.0);

struct DrawRow {
    int n;
    double u;
    int expected;
};

TEST(RandomDraws, DrawUpToAtTheEndsOfTheUnitInterval) {
    const DrawRow rows[] = {
        {0, 0.0, 1},
        {0, kJustBelowOne, 1},  // n = 0 still yields 1
        {1, 0.0, 1},
        {1, kJustBelowOne, 1},
        {2, 0.0, 1},
        {2, kJustBelowOne, 2},
        {3, 0.0, 1},
        {3, kJustBelowOne, 3},
        {8, 0.0, 1},
        {8, kJustBelowOne, 8},
        {9, kJustBelowOne, 9},
        {18, 0.0, 1},
        {18, kJustBelowOne, 18},
        {88, kJustBelowOne, 88},
        {98, kJustBelowOne, 98},
        {99, 0.0, 1},
        {99, kJustBelowOne, 99},
        // The 0.001 shift moves each step's edge up: 1 gains, n loses.
        {10, 0.1, 1},
        {10, 0.1002, 2},
        {10, 0.9, 9},
        {3, 1.0 / 3, 1},
        {4, 0.5, 2},
        {88, 0.5, 44},
    };
    for (const DrawRow& row : rows) {
        ScriptedSource source{row.u};
        EXPECT_EQ(drawUpTo(source, row.n), row.expected) << "n=" << row.n << " u=" << row.u;
        EXPECT_EQ(source.remaining(), 0u);
    }
}

TEST(RandomDraws, DrawUpToCoversOneToNAndNothingElse) {
    SeededUniformSource source(7);
    for (int n : {1, 2, 3, 4, 8, 9, 18, 19, 88, 99}) {
        std::set<int> seen;
        for (int i = 0; i < 200 * n; ++i) {
            const int k = drawUpTo(source, n);
            ASSERT_GE(k, 1) << n;
            ASSERT_LE(k, n) << n;
            seen.insert(k);
        }
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(n)) << n;
    }
}

TEST(RandomDraws, CoinChoiceAndPickOfThree) {
    using Draw = int (*)(UniformSource&);
    const Draw coinDraw = [](UniformSource& s) { return coin(s); };
    const Draw choiceOfTwo = [](UniformSource& s) { return choice(s, 2); };
    const Draw choiceOfFour = [](UniformSource& s) { return choice(s, 4); };
    const Draw pick = [](UniformSource& s) { return pickOfThree(s); };
    const std::vector<std::tuple<const char*, Draw, double, int>> rows = {
        {"coin", coinDraw, 0.0, 0},
        {"coin", coinDraw, 0.5, 0},  // 1 − 0.00001 truncates to 0
        {"coin", coinDraw, 0.50001, 1},
        {"coin", coinDraw, kJustBelowOne, 1},
        {"choice of 2", choiceOfTwo, 0.0, 0},
        {"choice of 2", choiceOfTwo, 0.5, 1},
        {"choice of 2", choiceOfTwo, kJustBelowOne, 1},
        {"choice of 4", choiceOfFour, 0.24, 0},
        {"choice of 4", choiceOfFour, 0.25, 1},
        {"choice of 4", choiceOfFour, 0.74, 2},
        {"choice of 4", choiceOfFour, kJustBelowOne, 3},
        {"pick of 3", pick, 0.0, 0},
        {"pick of 3", pick, 1.0 / 3, 0},
        {"pick of 3", pick, 0.34, 1},
        {"pick of 3", pick, 0.67, 2},
        {"pick of 3", pick, kJustBelowOne, 2},
    };
    for (const auto& [name, draw, u, expected] : rows) {
        ScriptedSource source{u};
        EXPECT_EQ(draw(source), expected) << name << " u=" << u;
        EXPECT_EQ(source.remaining(), 0u);
    }
}

}  // namespace
}  // namespace sumbrook
