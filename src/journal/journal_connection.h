#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace sumbrook {

// One SQLite connection to the journal, under a name of its own, usable on the thread
// that opened it: WAL mode, every commit synced, a short wait when another connection
// holds the lock. Closing it (or destroying it) removes the connection.
class JournalConnection {
  public:
    static constexpr int kBusyTimeoutMs = 1000;

    JournalConnection(QString path, const QString& role);
    ~JournalConnection();
    JournalConnection(const JournalConnection&) = delete;
    JournalConnection& operator=(const JournalConnection&) = delete;

    // Opens the file (creating it) and sets the connection up; false with error() set.
    bool open();
    void close();
    bool isOpen() const { return open_; }
    QSqlDatabase database() const;
    QSqlError error() const { return error_; }

  private:
    QString path_;
    QString name_;
    QSqlError error_;
    bool open_ = false;
};

}  // namespace sumbrook
