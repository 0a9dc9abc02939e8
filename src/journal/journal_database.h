#pragma once

#include <QSqlDatabase>
#include <QString>
#include <chrono>
#include <memory>

#include "journal_connection.h"
#include "journal_writer.h"

namespace sumbrook {

// The journal's file with its two connections: one for the thread that opened it (the
// children and the queries) and the writer's. Only a file SQLite finds damaged (corrupt,
// no database, or failing its quick check) is set aside, under a name of its own beside
// it, and a fresh one started. A file another program holds is waited for; one still held
// after the wait is left alone and written as soon as it is free. A journal of a later
// version is read, never written. Any other failure (a read-only or full folder) leaves
// the file alone and the journal closed.
class JournalDatabase {
  public:
    // How long opening waits for another program that holds the journal, as one that is
    // bringing a large journal up to date does.
    static constexpr std::chrono::milliseconds kOpenWait{20000};

    explicit JournalDatabase(QString path);
    ~JournalDatabase();

    bool open();
    // The queries can be asked. A journal another program held at opening is tried again.
    bool isOpen();
    // Another program held the journal past the wait at opening, and still does.
    bool isHeld() const { return held_; }
    QSqlDatabase db() const { return reader_.database(); }
    JournalWriter* writer() const { return writer_.get(); }
    QString path() const { return path_; }

  private:
    enum class Outcome { Ready, Newer, Busy, Damaged, Unusable };
    Outcome tryOpen(QString& reason);
    Outcome openWaiting(QString& reason);
    bool setAside(QString& target);

    QString path_;
    JournalConnection reader_;
    std::unique_ptr<JournalWriter> writer_;
    bool held_ = false;
};

}  // namespace sumbrook
