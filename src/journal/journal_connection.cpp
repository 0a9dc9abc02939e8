#include "journal_connection.h"

#include <QSqlQuery>
#include <QVariant>
#include <atomic>

namespace sumbrook {

namespace {

QString uniqueName(const QString& role) {
    static std::atomic<int> counter{0};
    return QStringLiteral("sumbrook-journal-%1-%2").arg(role).arg(++counter);
}

}  // namespace

JournalConnection::JournalConnection(QString path, const QString& role)
    : path_(std::move(path)), name_(uniqueName(role)) {}

JournalConnection::~JournalConnection() {
    close();
}

QSqlDatabase JournalConnection::database() const {
    return QSqlDatabase::database(name_, false);
}

bool JournalConnection::open() {
    close();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path_);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        if (!db.open()) {
            error_ = db.lastError();
        } else {
            QSqlQuery query(db);
            // journal_mode answers with the mode in force: anything but "wal" means the
            // file is no database or cannot take the mode.
            if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next() ||
                query.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) !=
                    0) {
                error_ = query.lastError().isValid()
                             ? query.lastError()
                             : QSqlError(QStringLiteral("journal mode refused"), {},
                                         QSqlError::ConnectionError, QStringLiteral("26"));
            } else if (!query.exec(QStringLiteral("PRAGMA synchronous = FULL"))) {
                error_ = query.lastError();
            } else {
                open_ = true;
            }
        }
    }
    if (!open_) {
        QSqlDatabase::removeDatabase(name_);
    }
    return open_;
}

void JournalConnection::close() {
    if (!QSqlDatabase::contains(name_)) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
    open_ = false;
}

}  // namespace sumbrook
