#include "parent/parent_report.h"

#include <gtest/gtest.h>

#include "parent/report_span.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

TEST(ReportSpan, SpansEndTomorrowAndBeginOnMondayTheFirstOrNever) {
    struct Case {
        QDate today;
        ReportSpan span;
        QDate from;  // invalid: from the first record
    };
    const Case cases[] = {
        {{2026, 12, 9}, ReportSpan::Week, {2026, 12, 7}},   // a Wednesday
        {{2026, 12, 7}, ReportSpan::Week, {2026, 12, 7}},   // Monday itself
        {{2026, 12, 13}, ReportSpan::Week, {2026, 12, 7}},  // Sunday ends the week
        {{2027, 1, 1}, ReportSpan::Week, {2026, 12, 28}},   // across the year
        {{2026, 12, 9}, ReportSpan::Month, {2026, 12, 1}},
        {{2026, 12, 1}, ReportSpan::Month, {2026, 12, 1}},
        {{2026, 12, 9}, ReportSpan::All, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString());
        const JournalSpan span = journalSpanOf(c.span, QDateTime(c.today, QTime(23, 59, 59)));
        EXPECT_EQ(span.to, c.today.addDays(1).startOfDay());
        EXPECT_EQ(span.from.isValid(), c.from.isValid());
        if (c.from.isValid()) {
            EXPECT_EQ(span.from, c.from.startOfDay());
        }
    }
}

TEST(ParentReport, DailyMediansTakeTheMiddleTimeOfEachDayInItsOrder) {
    auto at = [](int day, int hour) { return QDateTime(QDate(2026, 12, day), QTime(hour, 0)); };
    // Out of order on purpose: the journal's order is not the day's.
    const QVector<AnswerTimePoint> times{
        {at(3, 17), 9000, true}, {at(1, 17), 3000, true}, {at(1, 18), 1000, false},
        {at(1, 19), 2000, true}, {at(3, 18), 5000, true}, {at(2, 17), 4000, false},
    };
    const auto medians = ParentReport::dailyMedians(times);
    ASSERT_EQ(medians.size(), 3);
    EXPECT_EQ(medians[0].day, QDate(2026, 12, 1));
    EXPECT_EQ(medians[0].ms, 2000);           // odd count: the middle one
    EXPECT_EQ(medians[0].middle, at(1, 18));  // halfway through the practice
    EXPECT_EQ(medians[1].ms, 4000);
    EXPECT_EQ(medians[2].ms, 7000);  // even count: between the two middle ones
    EXPECT_TRUE(ParentReport::dailyMedians({}).isEmpty());
}

TEST(ParentReport, TimesAndSharesReadAsAParentSaysThem) {
    const std::pair<std::int64_t, const char*> seconds[] = {
        {0, "0.0秒"}, {3240, "3.2秒"}, {59949, "59.9秒"}, {65000, "1分05秒"}, {600000, "10分00秒"}};
    for (const auto& [ms, text] : seconds) {
        EXPECT_EQ(ParentReport::secondsText(ms), QString::fromUtf8(text));
    }
    EXPECT_EQ(ParentReport::percentText(0, 0), "—");
    EXPECT_EQ(ParentReport::percentText(2, 3), "67%");
    EXPECT_EQ(ParentReport::percentText(3, 3), "100%");
}

}  // namespace
}  // namespace sumbrook
