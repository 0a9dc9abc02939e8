#include <gtest/gtest.h>

#include <QRegularExpression>

#include "answers.h"
#include "learning/fact_learning.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

using testing::kFirstDay;

// Answers to 7 + 8 written "W0@2359+8": wrong (W), right and fluent (R) or right but slow
// (S), on the recorded day 0 from kFirstDay, at 23:59 by the clock of a zone 8 hours ahead
// of UTC (9:00 and UTC when left out). With no one-digit answers the default key time
// holds: 7 + 8 is fluent within 4800 ms.
QVector<FactAnswer> history(const char* steps) {
    static const QRegularExpression step(QStringLiteral("([WRS])(\\d+)(?:@(\\d{4}))?([+-]\\d+)?"));
    QVector<FactAnswer> answers;
    for (auto it = step.globalMatch(QString::fromLatin1(steps)); it.hasNext();) {
        const auto m = it.next();
        const QChar result = m.captured(1).front();
        const int hhmm = m.hasCaptured(3) ? m.captured(3).toInt() : 900;
        answers.push_back(testing::answer(testing::sum(7, 8), m.captured(2).toInt(), hhmm,
                                          result != u'W', result == u'S' ? 8000 : 3000, 4,
                                          m.captured(4).toInt()));
    }
    return answers;
}

TEST(LeitnerBoxes, MoveByTheRecordedDayOfEachAnswer) {
    const struct {
        const char* what;
        const char* steps;
        int box;
        bool retired;
        int dueDay;  // from kFirstDay; -1: no due day
    } rows[] = {
        {"never missed: no box", "R0 R5", 0, false, -1},
        {"a miss: box 1, due the next day", "W0", 1, false, 1},
        {"right the same day it was missed: stays", "W0 R0@0901", 1, false, 1},
        {"missed again the same day: due the next day", "W0 W0@2000", 1, false, 1},
        {"23:59 then 00:01 is the next day", "W0@2359 R1@0001", 2, false, 4},
        {"answered late still moves up", "W0 R5", 2, false, 8},
        {"a slow right answer moves up too", "W0 S1", 2, false, 4},
        {"box 2 before its due day: stays", "W0 R1 R3", 2, false, 4},
        {"box 3, due a week on", "W0 R1 R4", 3, false, 11},
        {"fluent in box 3 retires", "W0 R1 R4 R11", 0, true, -1},
        {"slow in box 3 stays another week", "W0 R1 R4 S11", 3, false, 18},
        {"a miss in box 3 goes back to box 1", "W0 R1 R4 W11", 1, false, 12},
        {"a miss after retiring starts again", "W0 R1 R4 R11 W40", 1, false, 41},
        // Two hours later by the clock, but already the next day where the family is.
        {"flying east across midnight", "W0@2000 R1@0600+8", 2, false, 4},
        // The next day in UTC, still the same day where the family is.
        {"flying west, the same day lived", "W0@1700+8 R0@1900-8", 1, false, 1},
    };
    for (const auto& row : rows) {
        const FactLearning learning(history(row.steps));
        ASSERT_EQ(learning.facts().size(), 1u) << row.what;
        const LeitnerBox& box = learning.facts().front().box;
        EXPECT_EQ(box.box, row.box) << row.what;
        EXPECT_EQ(box.retired, row.retired) << row.what;
        const QDate due = row.dueDay < 0 ? QDate() : kFirstDay.addDays(row.dueDay);
        EXPECT_EQ(box.due.toString(Qt::ISODate), due.toString(Qt::ISODate)) << row.what;

        // Due on its due day, not the day before.
        const int dueDay = row.dueDay < 0 ? 400 : row.dueDay;
        EXPECT_TRUE(learning.due(kFirstDay.addDays(dueDay - 1)).empty()) << row.what;
        EXPECT_EQ(learning.due(kFirstDay.addDays(dueDay)).size(), row.dueDay < 0 ? 0u : 1u)
            << row.what;
    }
}

}  // namespace
}  // namespace sumbrook
