#pragma once

#include <QString>
#include <QVector>

#include "journal/journal_types.h"

namespace sumbrook {

// What the parent's window (and the teacher's, for one pupil) asks of a journal and tells it: the
// children, and the tallies of one child over a span. The window sees the journal only through
// this, so that it can be shown over any journal; PracticeJournalQueries is the real one.
class JournalQueries {
  public:
    virtual ~JournalQueries() = default;

    virtual QVector<Child> children() const = 0;
    virtual int currentChildId() const = 0;
    virtual int addChild(const QString& name) = 0;  // the new id, 0 on failure
    virtual bool renameChild(int id, const QString& name) = 0;
    virtual bool chooseChild(int id) = 0;

    virtual QVector<DayTally> dailyTallies(int childId, const JournalSpan& span) const = 0;
    virtual QVector<AnswerTimePoint> answerTimes(int childId, int exercise,
                                                 const JournalSpan& span) const = 0;
    virtual QVector<ExerciseTally> exerciseTallies(int childId, const JournalSpan& span) const = 0;
    virtual QVector<MissedFact> missedFacts(int childId, const JournalSpan& span,
                                            int limit) const = 0;
    // Every answer of the child that has its fact, ordered by fact key, then time.
    virtual QVector<FactAnswer> factAnswers(int childId) const = 0;
    virtual bool exportCsv(int childId, const QString& path) const = 0;
    // Why the last read answered with nothing, for the parent; empty when it answered.
    virtual QString readError() const = 0;
};

}  // namespace sumbrook
