#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <optional>

#include "practice/core/practice_fact.h"

namespace sumbrook {

// The values the practice journal records and answers with. Plain data: the journal
// fills them from its database, the parent's window and the mistakes sheet read them.

// One child of the family. The first child (id 1, "宝贝" until renamed) owns the store
// file that existed before there were children.
struct Child {
    int id = 0;
    QString name;
};

// One answered question, as the child met it.
struct AnsweredQuestion {
    QDateTime at;  // when the answer was given (local time)
    int childId = 0;
    int exercise = 0;  // xiangm, 1..37
    QString shown;     // the question as shown, e.g. "7 + 8 = □" or "3点15分"
    QString expected;  // the expected answer as it would be typed
    QString typed;     // what the child typed
    bool right = false;
    std::int64_t ms = 0;  // time the child took on this question
    // What the question asked; empty for an answer recorded before facts were kept whose
    // text could not be read as one.
    std::optional<PracticeFact> fact;
    bool review = false;  // given in a review run
};

// The exercise a review run is recorded under: it mixes facts of many exercises and is
// none of them, so no exercise's tally or best time counts it.
constexpr int kReviewRunExercise = 0;

// What wipes part of a child's progress: the history (best times and counts) cleared, or
// the game started again from level 0.
enum class ProgressReset { HistoryCleared, GameRestarted };

// A span of days the parent looks at: [from, to) in local time; an empty `from` means
// from the first record.
struct JournalSpan {
    QDateTime from;
    QDateTime to;
};

struct DayTally {
    QDate day;
    int asked = 0;
    int right = 0;
};

struct AnswerTimePoint {
    QDateTime at;
    std::int64_t ms = 0;
    bool right = false;
};

struct ExerciseTally {
    int exercise = 0;
    int tried = 0;  // questions answered
    int right = 0;
    std::int64_t medianMs = 0;           // median time per question
    std::optional<std::int64_t> bestMs;  // best completion time in the span, if any
    QDateTime lastPractised;             // invalid when never
};

// A fact the child missed: the fact, the question as last shown with its answer, how often
// it was asked and missed in the span (in whichever exercise), when it was last missed and what the
// child typed instead.
struct MissedFact {
    int exercise = 0;                  // of its latest miss
    std::optional<PracticeFact> fact;  // empty for an old row that could not be read
    QString shown;
    QString expected;
    int asked = 0;
    int missed = 0;
    QDateTime lastMissed;
    QStringList wrongAnswers;  // each wrong entry once, the most often typed first
};

// One answer to one fact, as the learning rules read the journal: a child's answers
// come ordered by fact key, then by time.
struct FactAnswer {
    PracticeFact fact;
    int exercise = 0;
    QString expected;       // the expected answer as typed, e.g. "15", "3点15分"
    QString typed;          // what the child typed
    std::int64_t atMs = 0;  // milliseconds since the epoch
    QDate day;              // the local date the answer fell on, as recorded
    bool right = false;
    std::int64_t ms = 0;
    bool review = false;  // given in a review run
};

}  // namespace sumbrook
