#pragma once

#include <QChart>
#include <QVector>

#include "journal/journal_types.h"

namespace sumbrook {

// The two charts of the parent's window, built from the journal's tallies: questions and
// accuracy day by day, and the time the child took per question on one exercise. They
// draw what they are given; choosing the child, span and exercise is the window's.
class ParentCharts {
  public:
    // Series names, by which the charts' data is found again.
    static QString askedSeriesName() { return QStringLiteral("题数"); }
    static QString accuracySeriesName() { return QStringLiteral("正确率"); }
    static QString rightTimesName() { return QStringLiteral("答对"); }
    static QString wrongTimesName() { return QStringLiteral("答错"); }
    static QString medianTimesName() { return QStringLiteral("每天中位数"); }

    // Days of the span without practice count 0 questions and have no accuracy.
    static QChart* dailyChart(const QVector<DayTally>& days, const JournalSpan& span);
    static QChart* timeChart(const QVector<AnswerTimePoint>& times, const QString& title);

    static QFont chartFont(int pointSize);
};

}  // namespace sumbrook
