#include "teacher_login.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace sumbrook {

namespace {

void tell(QString* error, const QString& why) {
    if (error) {
        *error = why;
    }
}

}  // namespace

TeacherLogin::TeacherLogin()
    : TeacherLogin(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                       .filePath(QStringLiteral("sumbrook"))) {}

TeacherLogin::TeacherLogin(QString userDirectory) : userDirectory_(std::move(userDirectory)) {}

QString TeacherLogin::path() const {
    return QDir(userDirectory_).filePath(QLatin1String(kFileName));
}

std::optional<ConnectionString> TeacherLogin::read(QString* error) const {
    if (!QFile::exists(path())) {
        tell(error, QStringLiteral("no teacher's connection is kept in %1").arg(path()));
        return std::nullopt;
    }
    QString why;
    std::optional<ConnectionString> where = ConnectionString::readFile(path(), &why);
    if (!where) {
        tell(error, why);
    }
    return where;
}

bool TeacherLogin::keep(const ConnectionString& where, QString* error) const {
    if (!QDir().mkpath(userDirectory_)) {
        tell(error, QStringLiteral("%1 cannot be made").arg(userDirectory_));
        return false;
    }
    QSaveFile file(path());
    // QSaveFile writes a new file next to it and renames it over; its permissions are
    // set before the secret goes in.
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(where.toConnInfo().toUtf8() + '\n') < 0 || !file.commit()) {
        tell(error, QStringLiteral("%1 cannot be written: %2").arg(path(), file.errorString()));
        file.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace sumbrook
