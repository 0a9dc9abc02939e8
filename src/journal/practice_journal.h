#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "journal_types.h"

namespace sumbrook {

class JournalDatabase;

// The practice journal of one family: every answered question, run and completion of
// each child, the children themselves and which of them practises next, kept in
// "journal.sqlite" in the data folder. Recording never waits on the disk: rows go to a
// writer thread with its own connection and are committed one answer at a time, or kept
// until they can be. A damaged database is set aside and a fresh one started; one that
// another program holds is waited for, never set aside; the practice never stops for the
// journal. It does not know the progress store's keys, only where each child's store
// lives.
class PracticeJournal {
  public:
    static constexpr const char* kFileName = "journal.sqlite";
    static constexpr int kFirstChildId = 1;

    explicit PracticeJournal(QString directory);  // journal.sqlite in that folder
    ~PracticeJournal();
    PracticeJournal(const PracticeJournal&) = delete;
    PracticeJournal& operator=(const PracticeJournal&) = delete;

    // Creates or brings the journal up to date; damaged → set aside, fresh. False when
    // nothing can be recorded.
    bool open();
    QVector<Child> children() const;
    int currentChildId() const;
    int addChild(const QString& name);  // returns the new id, 0 on failure
    bool renameChild(int id, const QString& name);
    bool chooseChild(int id);
    QString storeDirectory(int childId) const;  // where that child's shuxue.json lives

    // On a class computer a child is a pupil of the class, known by 学号. The child of that
    // number, made when there is none yet; it is given the class list's name, or, when a
    // child of the family has that name, the name followed by the number. 0 on failure.
    int childForPupil(const QString& number, const QString& name);
    // Makes a child the pupil of that number (and of that name, as above); false when the
    // number is another child's, or the child is not there.
    bool markPupil(int childId, const QString& number, const QString& name);
    // The child's 学号; empty for a child of the family.
    QString pupilNumber(int childId) const;
    // A pupil's history cleared, or game started again, at another computer at `atMs` (ms
    // since the epoch): true when this journal knew of none that late, and now keeps it as
    // known (never to be sent: the server has it), so that the caller resets this
    // computer's copy once. False when it knew, or on failure.
    bool takeProgressReset(int childId, ProgressReset reset, std::int64_t atMs);

    // recording (used by the practice loop's observer)
    void recordAnswer(const AnsweredQuestion& answer);
    void recordRunStart(int childId, int exercise, const QDateTime& at);
    void recordRunEnd(int childId, int exercise, const QDateTime& at);
    void recordCompletion(int childId, int exercise, std::int64_t ms, const QDateTime& at);
    void recordLevel(int childId, int level, const QDateTime& at);
    void recordHistoryCleared(int childId, const QDateTime& at);
    // Called on the writer's thread after each commit (see JournalWriter::setOnCommitted).
    void setOnWritten(std::function<void()> callback);
    // Waits until every record handed over so far is committed (or given up on).
    void waitForWrites() const;
    // The same, for at most `timeout`: false when rows are still waiting then (the journal
    // held by another program, a full disk), so that a window never hangs on them.
    bool waitForWrites(std::chrono::milliseconds timeout) const;

    // queries (a span with an invalid `from` means from the first record)
    QVector<DayTally> dailyTallies(int childId, const JournalSpan& span) const;
    QVector<AnswerTimePoint> answerTimes(int childId, int exercise, const JournalSpan& span) const;
    QVector<ExerciseTally> exerciseTallies(int childId,
                                           const JournalSpan& span) const;  // 37 rows, 1..37
    QVector<MissedFact> missedFacts(int childId, const JournalSpan& span,
                                    int limit) const;  // most recently and most often first
    QVector<AnsweredQuestion> answers(int childId, const JournalSpan& span) const;
    // Every answer of the child that has a fact, ordered by fact key, then time: what the
    // learning rules read.
    QVector<FactAnswer> factAnswers(int childId) const;
    // Why the last query (these, children() or currentChildId()) could not answer: one
    // line for the parent naming the file and SQLite's reason; empty when it answered.
    QString readError() const { return readError_; }
    // One row per answered question, header row, UTF-8 with a byte-order mark for
    // spreadsheet programs, fields quoted where needed; written by OutputFile's rule (a
    // device is written in place, a file replaced whole), with the number of rows in *rows.
    // False, with the reason in *error, when it cannot be written or the journal cannot be
    // read (then readError() says so too, and nothing is written).
    bool exportCsv(int childId, const QString& path, QString* error = nullptr,
                   qsizetype* rows = nullptr) const;

    QString filePath() const;

  private:
    // Fills each fact's wrong answers; false when they cannot be read (said in readError_).
    // Inside a write transaction: a new child of that (clean) name, its id or 0.
    int insertChild(const QString& clean);
    // Inside a write transaction: the name a pupil takes here, free among the others.
    QString pupilName(const QString& number, const QString& name, int except) const;

    bool readWrongAnswers(QVector<MissedFact>& facts, int childId, const JournalSpan& span) const;

    QString directory_;
    std::unique_ptr<JournalDatabase> database_;
    mutable QString readError_;
};

}  // namespace sumbrook
