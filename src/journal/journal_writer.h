#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
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

// Writes journal rows on a thread of its own, over a connection of its own. Posting takes
// no lock the writer could hold: the row goes onto a lock-free list and a semaphore wakes
// the thread. Whatever has queued up by the time the thread comes round is committed as
// one transaction; every row is committed before the thread goes back to sleep. A row
// that cannot be written is dropped, and said once.
class JournalWriter {
  public:
    using Row = std::variant<AnsweredQuestion, RunEvent>;

    explicit JournalWriter(QString databasePath);
    // Writes what is still queued, then stops.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    void post(Row row);
    // Returns once every row posted before the call is committed or dropped.
    void waitUntilWritten();

    // Rows dropped because they could not be written.
    std::uint64_t dropped() const;

  private:
    struct Node {
        Row row;
        Node* next = nullptr;
    };

    void run();
    // Everything posted so far, oldest first; the list is left empty.
    Node* takeAll();

    QString path_;
    std::atomic<Node*> head_{nullptr};  // newest first
    std::counting_semaphore<> wake_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> posted_{0};
    std::atomic<std::uint64_t> dropped_{0};
    std::mutex doneMutex_;
    std::condition_variable written_;
    std::uint64_t done_ = 0;
    std::thread thread_;
};

}  // namespace sumbrook
