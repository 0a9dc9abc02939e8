#pragma once

#include <QDate>
#include <QVector>
#include <cstdint>
#include <utility>

#include "journal/journal_queries.h"

namespace sumbrook {

// What the parent's window shows of one child over one span, read from the journal in
// one go (days, exercises, missed facts) so that the widgets only display. A read that
// fails ends the loading: the report then holds nothing but why. No widgets.
struct ParentReport {
    static constexpr int kMissedShown = 20;  // rows of the facts most often wrong
    static constexpr int kMissedAsked = 200;

    // Reads the report of `childId` over `span`, up to the first read that fails.
    static ParentReport load(const JournalQueries& journal, int childId, const JournalSpan& span);

    QVector<DayTally> days;            // the days practised, oldest first
    QVector<ExerciseTally> exercises;  // exercises 1 to 37 in order, untried ones too
    QVector<MissedFact> mostMissed;    // most often missed first, at most kMissedShown
    int asked = 0;
    int right = 0;
    QString error;  // the journal's reason when a read failed, for the parent; else empty

    bool isEmpty() const { return asked == 0; }
    // The exercise tried most often, 0 when none was.
    int mostTriedExercise() const;

    // The middle of one day's times, placed halfway through that day's practice.
    struct DailyMedian {
        QDate day;
        QDateTime middle;
        std::int64_t ms = 0;
    };
    // Day by day, oldest first: how the child's pace goes.
    static QVector<DailyMedian> dailyMedians(const QVector<AnswerTimePoint>& times);
    // "3.2秒", "1分05秒".
    static QString secondsText(std::int64_t ms);
    // "87%"; "—" for nothing asked.
    static QString percentText(int right, int asked);
};

}  // namespace sumbrook
