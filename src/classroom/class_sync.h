#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "connection_string.h"

namespace sumbrook {

// Sends a class computer's practice to the class's server: the local journal is the
// outbox. On a thread of its own, with its own connections (SQLite to the journal,
// PostgreSQL to the server), it takes the pupils' unsent answers, runs and progress events
// in the order of their local ids, a small batch at a time in one server transaction
// through add_answer, add_run and add_progress_event, and marks them sent only once the
// server has committed. A row sent twice (a commit whose answer was lost) is kept once by
// its id. A server down, slow or out of reach is tried again, 1 s doubling to 60 s; a row
// it refuses for good (a pupil not on the class list) is set aside with its reason and the
// others go on. Each trouble is said once on "sumbrook.class", and so is its end. It never
// writes a row of a child of the family, and never holds up the practice: it only reads
// the journal, and marks rows in short transactions.
class ClassSync {
  public:
    struct Options {
        std::chrono::milliseconds firstRetry{1000};
        std::chrono::milliseconds lastRetry{60000};
        // The longest a stop can wait for the server: a connection attempt or a statement
        // in flight is not cut short.
        std::chrono::seconds connectTimeout{3};
        std::chrono::milliseconds statementTimeout{5000};
        // Rows of each table in one server transaction.
        int batch = 100;
        // With nothing written, the journal is looked over again this often from its
        // start (a child made a pupil since, rows another program wrote).
        std::chrono::milliseconds idleRescan{60000};
        // The computer's name on the server; the host name when empty.
        QString computer;
    };

    struct Counts {
        std::uint64_t sent = 0;      // rows the server now has (stored or already there)
        std::uint64_t setAside = 0;  // rows it refused for good
    };

    ClassSync(QString journalPath, ConnectionString server);
    ClassSync(QString journalPath, ConnectionString server, Options options);
    // Stops at once, or within connectTimeout + statementTimeout when the server is being
    // waited on; rows not yet sent stay unsent for the next run.
    ~ClassSync();
    ClassSync(const ClassSync&) = delete;
    ClassSync& operator=(const ClassSync&) = delete;

    // New rows were written (e.g. PracticeJournal::setOnWritten); returns at once.
    void wake();
    // The journal is looked over again from its start: a child was made a pupil.
    void rescan();

    Counts counts() const;
    // True once every row written before the call is on the server or set aside; false
    // when `timeout` passes first (the server out of reach, say).
    bool waitUntilSent(std::chrono::milliseconds timeout);

  private:
    void run();

    QString journalPath_;
    ConnectionString server_;
    Options options_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool rescan_ = false;
    std::uint64_t wakes_ = 0;     // wake() calls so far
    std::uint64_t caughtUp_ = 0;  // wakes seen by a round that left nothing unsent
    std::atomic<std::uint64_t> sent_{0};
    std::atomic<std::uint64_t> setAside_{0};
    std::thread thread_;
};

}  // namespace sumbrook
