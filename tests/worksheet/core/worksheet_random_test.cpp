#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "worksheet/core/worksheet_random.h"

namespace sumbrook {
namespace {

TEST(WorksheetRandom, DrawsFollowTheRecurrenceWhicheverWayTheBoundsCome) {
    FixedTickSource ticks(0);
    WorksheetRandom random(ticks), swapped(ticks);
    // From state 0: 2531011 >> 16 = 38; the later steps wrap at 2^32.
    for (int expected : {38, 7719, 21238, 2437}) {
        EXPECT_EQ(random.RandomInt(0, 32767), expected);
    }
    for (int expected : {3, 4, 5, 2}) {
        EXPECT_EQ(swapped.RandomInt(6, 1), expected);
    }
    random.setState(0);
    EXPECT_EQ(random.RandomInt(5, 5), 5);
    EXPECT_EQ(random.state(), 2531011u);  // a one-value draw still takes its step
}

TEST(WorksheetRandom, ReseedAddsAGrowingCounterToTheTick) {
    struct Row {
        std::uint32_t tick;
        std::vector<std::uint32_t> states;  // after the first, second and third Reseed
    };
    const Row rows[] = {
        // counter 0 → 332 (1000 mod 256 = 232, + 100) → 484 (1332 mod 256 = 52) → 788
        {1000, {1332, 1484, 1788}},
        {0, {100, 300, 444}},
        // tick + counter wraps past 2^32, in the state and in the counter's growth
        {0xFFFFFFF0u, {324, 492, 828}},
    };
    for (const Row& row : rows) {
        FixedTickSource ticks(row.tick);
        WorksheetRandom random(ticks);
        for (std::uint32_t expected : row.states) {
            random.Reseed();
            EXPECT_EQ(random.state(), expected) << row.tick;
        }
    }
}

}  // namespace
}  // namespace sumbrook
