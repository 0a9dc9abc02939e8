#pragma once

#include <QSqlDatabase>
#include <QString>
#include <memory>

#include "journal_connection.h"
#include "journal_writer.h"

namespace sumbrook {

// The journal's file with its two connections: one for the thread that opened it (the
// children and the queries) and the writer's. Opening sets a damaged or locked file
// aside, under a name of its own beside it, and starts a fresh one; any other failure
// (a read-only or full folder) leaves the file alone and the journal closed.
class JournalDatabase {
  public:
    explicit JournalDatabase(QString path);
    ~JournalDatabase();

    bool open();
    bool isOpen() const { return reader_.isOpen() && writer_ != nullptr; }
    QSqlDatabase db() const { return reader_.database(); }
    JournalWriter* writer() const { return writer_.get(); }
    QString path() const { return path_; }
    // Where the last damaged file was put; empty when none was.
    QString setAsidePath() const { return setAside_; }

  private:
    enum class Outcome { Ready, Damaged, Unusable };
    Outcome tryOpen(QString& reason);
    bool setAside();

    QString path_;
    JournalConnection reader_;
    std::unique_ptr<JournalWriter> writer_;
    QString setAside_;
};

}  // namespace sumbrook
