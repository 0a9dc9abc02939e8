#include "class_setup.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include "class_log.h"
#include "class_roles.h"
#include "class_schema.h"

namespace sumbrook {

std::optional<ClassSetup::Logins> ClassSetup::run() {
    QSqlDatabase db = connection_.database();
    const QString place = connection_.where().place();
    const auto refuse = [&](const QString& what, const QSqlError& error) {
        error_ =
            QStringLiteral("the server at %1 refused %2: %3")
                .arg(place, what,
                     ClassConnection::oneLine(
                         error.databaseText().isEmpty() ? error.text() : error.databaseText()));
        if (!db.rollback()) {
            qCWarning(classLog) << "rolling the set-up back failed; the server ends it"
                                << "when the connection closes";
        }
        return std::nullopt;
    };

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT current_database()")) || !query.next()) {
        error_ = QStringLiteral("the server at %1 did not name its database: %2")
                     .arg(place, ClassConnection::oneLine(query.lastError().text()));
        return std::nullopt;
    }
    const QString database = query.value(0).toString();
    query.finish();
    // The set-up closes the database to every other login of the server.
    static const QStringList kShared{QStringLiteral("postgres"), QStringLiteral("template0"),
                                     QStringLiteral("template1")};
    if (kShared.contains(database)) {
        error_ = QStringLiteral(
                     "%1 is the server's own database; give the class one of its own "
                     "(createdb --owner LOGIN class3)")
                     .arg(database);
        return std::nullopt;
    }
    if (!ClassRoles::fits(database)) {
        error_ = QStringLiteral("the database name '%1' is too long to name its roles after it")
                     .arg(database);
        return std::nullopt;
    }

    if (!db.transaction()) {
        error_ = QStringLiteral("the server at %1 did not begin a transaction: %2")
                     .arg(place, ClassConnection::oneLine(db.lastError().text()));
        return std::nullopt;
    }
    QSqlError error;
    switch (ClassSchema::migrate(db, error)) {
        case ClassSchema::Migration::Ready:
            break;
        case ClassSchema::Migration::Newer:
            db.rollback();
            error_ = QStringLiteral(
                         "the class database %1 at %2 was set up by a newer Sumbrook; "
                         "set it up with that one")
                         .arg(database, place);
            return std::nullopt;
        case ClassSchema::Migration::Failed:
            return refuse(QStringLiteral("the class's tables"), error);
    }
    Logins logins;
    const QString pupilsPassword = ClassRoles::newPassword();
    const QString teacherPassword = ClassRoles::newPassword();
    if (!ClassRoles::apply(db, database, pupilsPassword, teacherPassword, error)) {
        return refuse(QStringLiteral("the class's roles"), error);
    }
    if (!db.commit()) {
        return refuse(QStringLiteral("the set-up's commit"), db.lastError());
    }

    // The roles log in where the set-up did, without its login and its password file.
    const auto login = [&](const QString& role, const QString& password) {
        ConnectionString where = connection_.where();
        for (const char* key : {"user", "password", "passfile", "dbname"}) {
            where.remove(QString::fromLatin1(key));
        }
        where.set(QStringLiteral("dbname"), database);
        where.set(QStringLiteral("user"), role);
        where.set(QStringLiteral("password"), password);
        return where.toConnInfo();
    };
    logins.pupils = login(ClassRoles::pupilsRole(database), pupilsPassword);
    logins.teacher = login(ClassRoles::teacherRole(database), teacherPassword);
    return logins;
}

}  // namespace sumbrook
