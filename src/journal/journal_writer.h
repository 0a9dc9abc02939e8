#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <semaphore>
#include <thread>
#include <variant>

#include "journal_types.h"

namespace sumbrook {

// A start, end or completion of one exercise run.
struct RunEvent {
    enum class Kind { Start, End, Completion };
    Kind kind = Kind::Start;
    int childId = 0;
    int exercise = 0;
    QDateTime at;
    std::int64_t ms = 0;  // completions only
};

// A step of the child's progress the progress store takes on its own: a new game level,
// or the history cleared. Completions are the runs'.
struct ProgressEvent {
    enum class Kind { Level, Clear };
    Kind kind = Kind::Level;
    int childId = 0;
    int level = 0;  // Level only
    QDateTime at;
};

// Writes journal rows on a thread of its own, over a connection of its own. Posting takes
// no lock the writer could hold: the row goes onto a lock-free list and a semaphore wakes
// the thread. Whatever has queued up by the time the thread comes round is committed as
// one transaction, in the order posted (each posting thread's rows in its own order).
// Rows that cannot be written yet (the journal held by another program, a full disk, a
// read-only folder) stay queued and are tried again, ever less often, until they go in;
// each new kind of trouble is said once, and so is its end. A journal of a later version
// than this program knows is never written into: its rows go to a side journal beside
// it, and that is said once. Destroying the writer writes everything posted before.
class JournalWriter {
  public:
    using Row = std::variant<AnsweredQuestion, RunEvent, ProgressEvent>;

    // Rows held while they cannot be written: far more than a year of practice.
    static constexpr std::size_t kMaxHeld = 500000;
    // How long the last rows are tried at the end before they are given up, and said.
    static constexpr std::chrono::milliseconds kDrainLimit{15000};
    static constexpr std::chrono::milliseconds kFirstRetry{100};
    static constexpr std::chrono::milliseconds kLastRetry{2000};

    explicit JournalWriter(QString databasePath);
    // Writes what is still queued, then stops.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    void post(Row row);
    // Called on the writer's thread after each commit, e.g. to wake the class's sync; it
    // must return at once.
    void setOnCommitted(std::function<void()> callback);
    // True once every row posted before the call is committed (or given up at the end);
    // false when `timeout` passes first, the rows still queued.
    bool waitUntilWritten(std::chrono::milliseconds timeout = std::chrono::milliseconds::max());

    // The journal of this program's version that stands beside `path` when `path` is of
    // a later one: "journal.sqlite" → "journal-v2.sqlite".
    static QString sideJournalPath(const QString& path);

  private:
    struct Node {
        Row row;
        Node* next = nullptr;
    };

    void run();
    // Everything posted so far, oldest first; the list is left empty.
    Node* takeAll();
    void countDone(std::uint64_t rows);

    QString path_;
    std::atomic<Node*> head_{nullptr};  // newest first
    std::counting_semaphore<> wake_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> posted_{0};
    std::mutex doneMutex_;
    std::condition_variable written_;
    std::uint64_t done_ = 0;
    std::mutex callbackMutex_;
    std::function<void()> onCommitted_;
    std::thread thread_;
};

}  // namespace sumbrook
