#pragma once

#include <QDateTime>
#include <functional>
#include <memory>

#include "practice/core/practice_observer.h"
#include "practice_journal.h"

namespace sumbrook {

// Puts what the practice loop does into the journal, as one child's practice, stamped
// with the wall clock's time. Hands each record to the journal's writer and returns.
class JournalRecorder final : public PracticeObserver {
  public:
    using WallClock = std::function<QDateTime()>;

    JournalRecorder(std::shared_ptr<PracticeJournal> journal, int childId,
                    WallClock now = &QDateTime::currentDateTime);

    void runStarted(int xiangm) override;
    void answered(const AnswerReport& answer) override;
    void completed(int xiangm, std::int64_t elapsedMs) override;
    void runEnded(int xiangm) override;
    // A review run goes into the runs under kReviewRunExercise.
    void reviewStarted() override;
    void reviewCompleted(std::int64_t elapsedMs) override;
    void reviewEnded() override;
    void levelChanged(int level) override;
    void historyCleared() override;

    int childId() const { return childId_; }
    PracticeJournal& journal() const { return *journal_; }

  private:
    std::shared_ptr<PracticeJournal> journal_;
    int childId_;
    WallClock now_;
};

}  // namespace sumbrook
