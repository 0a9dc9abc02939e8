#include "journal_recorder.h"

namespace sumbrook {

JournalRecorder::JournalRecorder(std::shared_ptr<PracticeJournal> journal, int childId,
                                 WallClock now)
    : journal_(std::move(journal)), childId_(childId), now_(std::move(now)) {
    // The first reading of the local time loads the time zone, which takes milliseconds:
    // done here, at start-up, rather than on the display step of the first answer.
    (void)now_();
}

void JournalRecorder::runStarted(int xiangm) {
    journal_->recordRunStart(childId_, xiangm, now_());
}

void JournalRecorder::answered(const AnswerReport& answer) {
    AnsweredQuestion record;
    record.at = now_();
    record.childId = childId_;
    record.exercise = answer.xiangm;
    record.shown = answer.shown;
    record.expected = answer.expected;
    record.typed = answer.typed;
    record.right = answer.right;
    record.ms = answer.ms;
    record.fact = answer.fact;
    record.review = answer.review;
    journal_->recordAnswer(record);
}

void JournalRecorder::completed(int xiangm, std::int64_t elapsedMs) {
    journal_->recordCompletion(childId_, xiangm, elapsedMs, now_());
}

void JournalRecorder::runEnded(int xiangm) {
    journal_->recordRunEnd(childId_, xiangm, now_());
}

void JournalRecorder::reviewStarted() {
    journal_->recordRunStart(childId_, kReviewRunExercise, now_());
}

void JournalRecorder::reviewCompleted(std::int64_t elapsedMs) {
    journal_->recordCompletion(childId_, kReviewRunExercise, elapsedMs, now_());
}

void JournalRecorder::reviewEnded() {
    journal_->recordRunEnd(childId_, kReviewRunExercise, now_());
}

void JournalRecorder::levelChanged(int level) {
    journal_->recordLevel(childId_, level, now_());
}

void JournalRecorder::historyCleared() {
    journal_->recordHistoryCleared(childId_, now_());
}

}  // namespace sumbrook
