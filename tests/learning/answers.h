#pragma once

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <QVector>

#include "journal/journal_types.h"

namespace sumbrook::testing {

inline const QDate kFirstDay(2026, 3, 10);

inline PracticeFact sum(int a, int b, int blank = 2) {
    PracticeFact fact;
    fact.numbers = {a, b, a + b};
    fact.signs = QStringLiteral("+");
    fact.blank = blank;
    return fact;
}

// One answer recorded on day `day` (counted from kFirstDay) at the clock time `hhmm` of a
// zone `zoneHours` ahead of UTC.
inline FactAnswer answer(const PracticeFact& fact, int day, int hhmm, bool right, std::int64_t ms,
                         int exercise = 4, int zoneHours = 0) {
    FactAnswer a;
    a.fact = fact;
    a.exercise = exercise;
    if (fact.blank >= 0 && fact.blank < static_cast<int>(fact.numbers.size())) {
        a.expected = QString::number(fact.numbers[static_cast<std::size_t>(fact.blank)]);
    }
    a.day = kFirstDay.addDays(day);
    a.atMs = QDateTime(a.day, QTime(hhmm / 100, hhmm % 100), QTimeZone(zoneHours * 3600))
                 .toMSecsSinceEpoch();
    a.right = right;
    a.ms = ms;
    return a;
}

// Ten right one-digit answers in `ms` each: enough for the child's key time to be
// measured as ms / 2.
inline QVector<FactAnswer> typist(std::int64_t ms) {
    QVector<FactAnswer> answers;
    for (int i = 0; i < 10; ++i) {
        answers.push_back(answer(sum(1, i % 4), 0, 900 + i, true, ms, 1));
    }
    return answers;
}

}  // namespace sumbrook::testing
