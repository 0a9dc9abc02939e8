#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <atomic>

namespace sumbrook::testing {

// Another program's hold on a journal file, for the tests of what the reader is told when
// the journal cannot be read: a second SQLite connection in exclusive locking mode that has
// written and keeps its write transaction open, so nobody else reads the file until it lets
// go (rolled back and closed when it ends). It does not wait for anything: with no hold it
// says why through ok().
class JournalLockHolder {
  public:
    explicit JournalLockHolder(const QString& path)
        : name_(QStringLiteral("lock-holder-%1").arg(++counter())) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        if (!db.open()) {
            error_ = db.lastError().text();
            return;
        }
        QSqlQuery query(db);
        for (const char* sql :
             {"PRAGMA locking_mode = EXCLUSIVE", "BEGIN IMMEDIATE",
              "INSERT OR REPLACE INTO settings (key, value) VALUES ('held', 1)"}) {
            if (!query.exec(QString::fromLatin1(sql))) {
                error_ = QString::fromLatin1(sql) + QStringLiteral(": ") + query.lastError().text();
                return;
            }
        }
    }
    ~JournalLockHolder() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            if (db.isOpen()) {
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    JournalLockHolder(const JournalLockHolder&) = delete;
    JournalLockHolder& operator=(const JournalLockHolder&) = delete;

    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }

  private:
    static std::atomic<int>& counter() {
        static std::atomic<int> n{0};
        return n;
    }

    QString name_;
    QString error_;
};

// Renames one of the journal's tables through a connection of its own, as a damaged or
// foreign file would lack it; empty when done, else why not.
inline QString renameJournalTable(const QString& path, const QString& table, const QString& to) {
    const QString name = QStringLiteral("table-renamer");
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            error = db.lastError().text();
        } else if (QSqlQuery query(db);
                   !query.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(table, to))) {
            error = query.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

}  // namespace sumbrook::testing
