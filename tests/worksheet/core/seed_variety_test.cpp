// Sheets that really vary: nearby seeds, consecutive copies and runs started together give
// unrelated sheets, while one seed still repeats its sheet exactly.
#include <gtest/gtest.h>

#include "support/qstring_printer.h"
#include "worksheet/core/generate_worksheet.h"

namespace sumbrook {
namespace {

WorksheetCounts sumSheet() {
    WorksheetCounts counts;
    counts.setCount(1, 10);
    counts.setCount(4, 10);
    counts.setCount(7, 10);
    return counts;
}

// The texts of a sheet in the order they stand on it.
QStringList sheetTexts(const GeneratedWorksheet& sheet) {
    QStringList texts;
    for (const int position : sheet.order) {
        texts << sheet.questions.at(position).text;
    }
    return texts;
}

std::vector<QStringList> sheets(TickSource& ticks, int count) {
    WorksheetRandom random(ticks);
    std::vector<QStringList> made;
    for (int i = 0; i < count; ++i) {
        made.push_back(
            sheetTexts(std::get<GeneratedWorksheet>(GenerateWorksheet(0, sumSheet(), random, {}))));
    }
    return made;
}

int sharedInPlace(const QStringList& a, const QStringList& b) {
    int shared = 0;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        shared += a[i] == b[i] ? 1 : 0;
    }
    return shared;
}

struct PairStatistic {
    double mean = 0;
    int most = 0;
};

PairStatistic pairwise(const std::vector<QStringList>& made) {
    PairStatistic s;
    int pairs = 0;
    double sum = 0;
    for (std::size_t i = 0; i < made.size(); ++i) {
        for (std::size_t j = i + 1; j < made.size(); ++j) {
            const int shared = sharedInPlace(made[i], made[j]);
            sum += shared;
            s.most = std::max(s.most, shared);
            ++pairs;
        }
    }
    s.mean = sum / pairs;
    return s;
}

TEST(SeedVariety, SeedsZeroToNinetyNineGiveUnrelatedSheets) {
    std::vector<QStringList> made;
    for (std::uint32_t seed = 0; seed < 100; ++seed) {
        SeededTickSource ticks(seed);
        made.push_back(sheets(ticks, 1).front());
        ASSERT_EQ(made.back().size(), 30);
    }
    const PairStatistic s = pairwise(made);
    ::testing::Test::RecordProperty("mean_shared_in_place", std::to_string(s.mean));
    ::testing::Test::RecordProperty("most_shared_in_place", s.most);
    EXPECT_LE(s.mean, 2.0) << "of 30 questions in place, on average over 4950 pairs";
    EXPECT_LE(s.most, 10);
    // Without the mixing, nearby ticks are nearly the same sheet.
    FixedTickSource one(1);
    FixedTickSource five(5);
    EXPECT_GE(sharedInPlace(sheets(one, 1).front(), sheets(five, 1).front()), 10);
}

TEST(SeedVariety, CopiesOfOneRunDifferFromEachOther) {
    SeededTickSource ticks(3);
    const PairStatistic s = pairwise(sheets(ticks, 40));
    ::testing::Test::RecordProperty("mean_shared_in_place", std::to_string(s.mean));
    EXPECT_LE(s.mean, 2.0);
}

TEST(SeedVariety, OneSeedRepeatsItsSheetsExactly) {
    for (const std::uint32_t seed : {0u, 1u, 77u, 4294967295u}) {
        SeededTickSource first(seed);
        SeededTickSource again(seed);
        EXPECT_EQ(sheets(first, 3), sheets(again, 3)) << seed;
        EXPECT_EQ(first.ticks(), mixSeed(seed));
    }
    // The mixing spreads nearby seeds over the whole range.
    EXPECT_NE(mixSeed(1) >> 16, mixSeed(2) >> 16);
}

TEST(SeedVariety, RunsStartedTogetherWithoutASeedDiffer) {
    // Two sources made in the same millisecond: the system's entropy tells them apart.
    SystemTickSource a;
    SystemTickSource b;
    EXPECT_NE(a.ticks(), b.ticks());
    EXPECT_LE(sharedInPlace(sheets(a, 1).front(), sheets(b, 1).front()), 10);
}

}  // namespace
}  // namespace sumbrook
