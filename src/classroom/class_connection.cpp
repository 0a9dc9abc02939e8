#include "class_connection.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlError>

namespace sumbrook {

namespace {

QAtomicInt connectionCount;

}  // namespace

ClassConnection::ClassConnection(ConnectionString where)
    : where_(std::move(where)),
      name_(QStringLiteral("sumbrook-class-%1").arg(connectionCount.fetchAndAddRelaxed(1))) {}

ClassConnection::~ClassConnection() {
    close();
}

QString ClassConnection::oneLine(const QString& message) {
    static const QRegularExpression kBreaks(QStringLiteral("\\s*\\n\\s*"));
    return QString(message).replace(kBreaks, QStringLiteral(" ")).trimmed();
}

bool ClassConnection::open() {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        error_ = QStringLiteral("Qt's PostgreSQL driver is not installed (libqt6sql6-psql)");
        return false;
    }
    QString why;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
        where_.applyTo(db);
        if (db.open()) {
            return true;
        }
        const QSqlError error = db.lastError();
        why = oneLine(error.databaseText().isEmpty() ? error.text() : error.databaseText());
    }
    error_ = QStringLiteral("cannot connect to the server at %1: %2").arg(where_.place(), why);
    close();
    return false;
}

void ClassConnection::close() {
    if (!QSqlDatabase::contains(name_)) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase ClassConnection::database() const {
    return QSqlDatabase::database(name_, false);
}

}  // namespace sumbrook
