#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVector>
#include <cstdint>
#include <vector>

#include "journal/journal_types.h"
#include "leitner_box.h"
#include "practice/core/practice_fact.h"
#include "typing_speed.h"

namespace sumbrook {

// How well a child knows one fact, judged on its last 3 asks.
enum class Fluency {
    New,       // never asked
    Learning,  // missed in one of its last 3 asks
    Slow,      // right in its last 3 asks, but not fast enough
    Fluent,    // right within the child's threshold in 2 of its last 3 asks, none missed
};
QString fluencyName(Fluency state);  // "new", "learning", "slow", "fluent"

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
// A fact asked once or twice is judged on what there is: fluent takes two fast right
// answers, so after one ask a fact is at most slow. Days are the recorded local dates, so
// a family is judged by the dates it lived, wherever its clock was set.
// Pure: no SQL, no widgets, no clock of its own (today is given).
class FactLearning {
  public:
    static constexpr int kReviewLength = 20;
    static constexpr int kRecentAsks = 3;
    static constexpr int kFastToBeFluent = 2;

    // `answers` as the journal gives them: ordered by fact key, then time. Answers of one
    // fact that come apart are still gathered, and put in time order.
    explicit FactLearning(const QVector<FactAnswer>& answers);

    const TypingSpeed& typingSpeed() const { return speed_; }
    // Every fact the child met, ordered by key.
    const std::vector<FactStanding>& facts() const { return facts_; }
    // The standing of any fact: a fact the child never met is new, with nothing asked.
    FactStanding standing(const PracticeFact& fact) const;
    // Facts due on `today` (due on or before it), most overdue first: the earliest due
    // date, then the more often missed, then the more recently missed, then by key.
    std::vector<FactStanding> due(const QDate& today) const;
    // The review run for `today`: the due facts, most overdue first, then the slowest
    // facts while fewer than kReviewLength; at most kReviewLength. Only facts a question
    // screen can ask again.
    std::vector<ReviewItem> review(const QDate& today) const;

  private:
    // What the ordering of the review reads beside the public standing.
    struct Detail {
        QString key;
        std::int64_t lastMissMs = 0;
        std::int64_t overMs = 0;  // recent time beyond the fact's threshold
        bool askable = false;
    };

    std::vector<std::size_t> dueOrder(const QDate& today) const;

    TypingSpeed speed_;
    std::vector<FactStanding> facts_;
    std::vector<Detail> details_;  // parallel to facts_
    QHash<QString, std::size_t> byKey_;
};

}  // namespace sumbrook
