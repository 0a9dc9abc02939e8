#pragma once

#include <QSqlDatabase>

#include "journal/journal_queries.h"

namespace sumbrook {

// The parent's window's questions for one pupil, answered from the class's server through
// the teacher's login, so that the teacher's window shows a pupil's charts and tables as a
// parent sees them: the same numbers the pupil's own journal gives for the same answers.
// The children are the pupils on the list (not those who left), by the server's ids. It
// never adds or renames a pupil (the class list does), and the choice of pupil lives in
// memory only.
class ServerPupilQueries final : public JournalQueries {
  public:
    explicit ServerPupilQueries(QSqlDatabase db);

    QVector<Child> children() const override;
    int currentChildId() const override;
    int addChild(const QString& name) override;
    bool renameChild(int id, const QString& name) override;
    bool chooseChild(int id) override;

    QVector<DayTally> dailyTallies(int childId, const JournalSpan& span) const override;
    QVector<AnswerTimePoint> answerTimes(int childId, int exercise,
                                         const JournalSpan& span) const override;
    QVector<ExerciseTally> exerciseTallies(int childId, const JournalSpan& span) const override;
    QVector<MissedFact> missedFacts(int childId, const JournalSpan& span, int limit) const override;
    QVector<FactAnswer> factAnswers(int childId) const override;
    bool exportCsv(int childId, const QString& path) const override;
    QString readError() const override { return readError_; }

  private:
    QSqlDatabase db_;
    int chosen_ = 0;
    mutable QString readError_;
};

}  // namespace sumbrook
