#include "teacher_sign_in.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include "classroom/class_connection.h"
#include "classroom/class_schema.h"

namespace sumbrook {

namespace {

// PostgreSQL's SQLSTATE for a privilege the role lacks.
const QString kInsufficientPrivilege = QStringLiteral("42501");

}  // namespace

TeacherSignIn::TeacherSignIn(TeacherLogin login, Asker ask, Teller tell)
    : login_(std::move(login)), ask_(std::move(ask)), tell_(std::move(tell)) {}

QString TeacherSignIn::problem(const ConnectionString& where) {
    ClassConnection connection(where);
    if (!connection.open()) {
        return connection.error();
    }
    // The answers are the teacher's to read; the pupils' role may only add to them.
    QSqlQuery query(connection.database());
    if (query.exec(QStringLiteral("SELECT 1 FROM answers LIMIT 0"))) {
        QSqlDatabase db = connection.database();
        return ClassSchema::versionProblem(db);
    }
    const QSqlError error = query.lastError();
    if (error.nativeErrorCode() == kInsufficientPrivilege) {
        return QStringLiteral("这是学生的连接，请使用教师的连接");
    }
    return QStringLiteral("%1：%2").arg(where.place(),
                                        ClassConnection::oneLine(error.databaseText()));
}

std::optional<ConnectionString> TeacherSignIn::signIn(const std::optional<QString>& given) {
    std::optional<QString> text = given;
    bool kept = false;
    if (!text) {
        QString unreadable;
        if (const std::optional<ConnectionString> keptLogin = login_.read(&unreadable)) {
            text = keptLogin->toConnInfo();
            kept = true;
        } else if (QFile::exists(login_.path())) {
            tell_(unreadable);
        }
    }
    QString said;
    while (true) {
        if (!text) {
            text = ask_(said);
            kept = false;
            if (!text) {
                return std::nullopt;
            }
        }
        QString error;
        const std::optional<ConnectionString> where = ConnectionString::parse(*text, &error);
        if (where) {
            error = problem(*where);
        }
        if (error.isEmpty()) {
            QString notKept;
            if (!kept && !login_.keep(*where, &notKept)) {
                tell_(notKept);  // it works this time; the next start asks again
            }
            return where;
        }
        tell_(error);
        said = error;
        text.reset();
    }
}

}  // namespace sumbrook
