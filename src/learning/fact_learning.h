#pragma once

#include <QDate>
#include <QString>
#include <QVector>
#include <cstdint>
#include <vector>

#include "journal/journal_types.h"
#include "practice/core/practice_fact.h"

namespace sumbrook {

// How well a child knows one fact.
enum class Fluency {
    New,       // never asked
    Learning,  // missed in one of its last 3 asks
    Slow,      // right in its last 3 asks, but not fast enough
    Fluent,    // right within the child's threshold in 2 of its last 3 asks, none missed
};
QString fluencyName(Fluency state);  // "new", "learning", "slow", "fluent"

// How fast the child keys an answer, measured from its own fastest right answers of
// one-digit results; the threshold for a fact allows 3 s of thinking on top.
struct TypingSpeed {
    std::int64_t keyMs = 0;  // one key press (a digit or Enter)
    bool measured = false;   // false: too few answers yet, a default is used
    std::int64_t thresholdMs(int answerDigits) const;  // 3000 + (digits + 1) × keyMs
};

// A fact's Leitner box: 0 when it never was missed or has retired, else 1..3.
struct LeitnerBox {
    int box = 0;
    bool retired = false;  // answered fluently in box 3 after being missed
    QDate due;             // invalid when not in a box
};

// Everything the child's answers tell about one fact.
struct FactStanding {
    PracticeFact fact;
    int exercise = 0;  // of its latest answer
    QString expected;  // its answer as typed
    int asked = 0;
    int missed = 0;
    std::int64_t medianMs = 0;  // of all its answers
    QDateTime lastAsked;
    Fluency state = Fluency::New;
    LeitnerBox box;
};

// One question of a review run: the fact and the exercise it was met in.
struct ReviewItem {
    PracticeFact fact;
    int exercise = 0;
    bool due = false;  // false: a slow fact topping the run up
};

// The rules that turn one child's answers into fact states, boxes and the day's review.
// Pure: no SQL, no widgets, no clock of its own (today is given).
class FactLearning {
  public:
    static constexpr int kReviewLength = 20;

    // `answers` as the journal gives them: ordered by fact key, then time.
    explicit FactLearning(const QVector<FactAnswer>& answers);

    const TypingSpeed& typingSpeed() const { return speed_; }
    // Every fact the child met, ordered by key.
    const std::vector<FactStanding>& facts() const { return facts_; }
    // Facts due on `today` (due on or before it), most overdue first.
    std::vector<FactStanding> due(const QDate& today) const;
    // The review run for `today`: the due facts, most overdue first, then the slowest
    // facts while fewer than kReviewLength; at most kReviewLength.
    std::vector<ReviewItem> review(const QDate& today) const;

  private:
    TypingSpeed speed_;
    std::vector<FactStanding> facts_;
};

}  // namespace sumbrook
