#include "class_list.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "class_connection.h"
#include "class_log.h"

namespace sumbrook {

std::optional<ClassList::Imported> ClassList::import(
    QSqlDatabase& db, const std::vector<PupilListFile::Pupil>& pupils, QString& error) {
    const auto refuse = [&](const QSqlError& sqlError) -> std::optional<Imported> {
        error = ClassConnection::oneLine(
            sqlError.databaseText().isEmpty() ? sqlError.text() : sqlError.databaseText());
        if (!db.rollback()) {
            qCWarning(classLog) << "rolling the import back failed; the server ends it"
                                << "when the connection closes";
        }
        return std::nullopt;
    };
    if (!db.transaction()) {
        error = ClassConnection::oneLine(db.lastError().text());
        return std::nullopt;
    }
    QSqlQuery query(db);
    // xmax is 0 on a row this statement inserted; an unchanged name returns no row. A
    // pupil who left and is named again comes back.
    if (!query.prepare(QStringLiteral("INSERT INTO public.pupils (number, name) VALUES (?, ?)"
                                      " ON CONFLICT (number) DO UPDATE"
                                      " SET name = EXCLUDED.name, \"left\" = false"
                                      " WHERE public.pupils.name <> EXCLUDED.name"
                                      " OR public.pupils.\"left\""
                                      " RETURNING xmax = 0"))) {
        return refuse(query.lastError());
    }
    Imported imported;
    for (const PupilListFile::Pupil& pupil : pupils) {
        query.bindValue(0, pupil.number);
        query.bindValue(1, pupil.name);
        if (!query.exec()) {
            return refuse(query.lastError());
        }
        if (!query.next()) {
            ++imported.unchanged;
        } else if (query.value(0).toBool()) {
            ++imported.added;
        } else {
            ++imported.renamed;
        }
        query.finish();
    }
    if (!db.commit()) {
        return refuse(db.lastError());
    }
    return imported;
}

}  // namespace sumbrook
