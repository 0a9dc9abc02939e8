#include <gtest/gtest.h>

#include "practice/core/running_clock.h"
#include "practice/core/zhuanhuan.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

TEST(Zhuanhuan, WritesMinutesSecondsHundredthsWithTwoDigitFields) {
    const struct {
        std::int64_t ms;
        const char* text;
    } rows[] = {
        {0, "00:00.00"},       {9, "00:00.00"},       {10, "00:00.01"},       {999, "00:00.99"},
        {1000, "00:01.00"},    {59999, "00:59.99"},   {60000, "01:00.00"},    {83450, "01:23.45"},
        {3599990, "59:59.99"}, {3600000, "60:00.00"}, {6000000, "100:00.00"}, {-5, "00:00.00"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(zhuanhuan(row.ms), QString::fromUtf8(row.text)) << row.ms;
    }
}

TEST(RunningClock, RestartsOnlyWhenAskedAndKeepsRunningOtherwise) {
    testing::ManualClock now;
    RunningClock clock(now);
    now.advance(5000);
    clock.requestRestart();
    EXPECT_TRUE(clock.restartPending());
    clock.questionStarted();
    EXPECT_FALSE(clock.restartPending());
    EXPECT_EQ(clock.elapsedMs(), 0);

    now.advance(1234);
    clock.questionStarted();  // the next question does not restart it
    EXPECT_EQ(clock.elapsedMs(), 1234);

    clock.requestRestart();  // asked for, but only the next question takes it
    now.advance(100);
    EXPECT_EQ(clock.elapsedMs(), 1334);
    clock.questionStarted();
    EXPECT_EQ(clock.elapsedMs(), 0);
}

}  // namespace
}  // namespace sumbrook
