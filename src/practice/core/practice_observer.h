#pragma once

#include <QString>
#include <cstdint>

#include "practice_fact.h"
#include "question.h"

namespace sumbrook {

// One checked answer as the child met it: the question's texts as the screen showed
// them, the answer the child had to type and what it typed.
struct AnswerReport {
    int xiangm = 0;
    QString shown;     // e.g. "7 + □ = 15", "3 + 4 − 2 = □", "3点15分"
    QString expected;  // e.g. "8", "3点15分"
    QString typed;     // e.g. "9", "3点0分"; the empty text when nothing was typed
    bool right = false;
    std::int64_t ms = 0;  // from the question being shown to "确定"
    PracticeFact fact;    // what the question asked, as data
    bool review = false;  // asked in a review run (xiangm is then the fact's own exercise)
};

// The question as its screen shows it, with "□" where the answer goes and "−" for minus.
QString shownQuestionText(const Question& question);
// The answer to type, written as the child's own answer is written by typedAnswerText.
QString expectedAnswerText(const Question& question);
// The child's entry: the answer field (on the clock the hour field) and the clock's
// minute field.
QString typedAnswerText(const Question& question, const QString& answer, const QString& minute);

// Told what the practice loop does, for a record kept elsewhere. Every call has a no-op
// default, so an observer takes only what it needs; it must not call back into the loop
// and must return at once (the loop runs on the display step).
class PracticeObserver {
  public:
    virtual ~PracticeObserver() = default;
    virtual void runStarted(int /*xiangm*/) {}
    virtual void answered(const AnswerReport& /*answer*/) {}
    virtual void completed(int /*xiangm*/, std::int64_t /*elapsedMs*/) {}
    virtual void runEnded(int /*xiangm*/) {}
    // A review run of the facts due: started, finished through its completion screen, and
    // left (after its completion or part-way). Its answers come through answered().
    virtual void reviewStarted() {}
    virtual void reviewCompleted(std::int64_t /*elapsedMs*/) {}
    virtual void reviewEnded() {}
    // What the progress store takes on besides completions: the game level set (one up,
    // or back to 0 when the game is started again) and the history cleared.
    virtual void levelChanged(int /*level*/) {}
    virtual void historyCleared() {}
};

}  // namespace sumbrook
