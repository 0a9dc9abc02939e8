#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace sumbrook::testing {

// Renames one of the journal's tables through a connection of its own, so that the
// journal's queries of it fail as on a file that lacks it; renamed back, they read again.
// Returns why it could not, empty when done.
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
