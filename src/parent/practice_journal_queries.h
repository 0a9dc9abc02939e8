#pragma once

#include "journal/journal_queries.h"
#include "journal/practice_journal.h"

namespace sumbrook {

// The parent's window over the family's practice journal: each question passed on as it
// is. Owns nothing; the journal outlives it.
class PracticeJournalQueries final : public JournalQueries {
  public:
    explicit PracticeJournalQueries(PracticeJournal& journal) : journal_(journal) {}

    QVector<Child> children() const override { return journal_.children(); }
    int currentChildId() const override { return journal_.currentChildId(); }
    int addChild(const QString& name) override { return journal_.addChild(name); }
    bool renameChild(int id, const QString& name) override {
        return journal_.renameChild(id, name);
    }
    bool chooseChild(int id) override { return journal_.chooseChild(id); }
    QVector<DayTally> dailyTallies(int childId, const JournalSpan& span) const override {
        return journal_.dailyTallies(childId, span);
    }
    QVector<AnswerTimePoint> answerTimes(int childId, int exercise,
                                         const JournalSpan& span) const override {
        return journal_.answerTimes(childId, exercise, span);
    }
    QVector<ExerciseTally> exerciseTallies(int childId, const JournalSpan& span) const override {
        return journal_.exerciseTallies(childId, span);
    }
    QVector<MissedFact> missedFacts(int childId, const JournalSpan& span,
                                    int limit) const override {
        return journal_.missedFacts(childId, span, limit);
    }
    QVector<FactAnswer> factAnswers(int childId) const override {
        return journal_.factAnswers(childId);
    }
    bool exportCsv(int childId, const QString& path) const override {
        return journal_.exportCsv(childId, path);
    }
    QString readError() const override { return journal_.readError(); }

  private:
    PracticeJournal& journal_;
};

}  // namespace sumbrook
