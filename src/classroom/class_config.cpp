#include "class_config.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "class_log.h"

namespace sumbrook {

namespace {

QString userFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("sumbrook"));
}

}  // namespace

ClassConfig::ClassConfig() : ClassConfig(userFolder(), QStringLiteral("/etc/sumbrook")) {}

ClassConfig::ClassConfig(QString userDirectory, QString systemDirectory)
    : userDirectory_(std::move(userDirectory)), systemDirectory_(std::move(systemDirectory)) {}

std::optional<ConnectionString> ClassConfig::readFile(const QString& path) const {
    if (!QFile::exists(path)) {
        return std::nullopt;
    }
    QString error;
    std::optional<ConnectionString> where = ConnectionString::readFile(path, &error);
    if (!where) {
        qCWarning(classLog).noquote() << QStringLiteral("%1; it is passed over").arg(error);
    }
    return where;
}

std::optional<ConnectionString> ClassConfig::read() const {
    for (const QString& directory : {userDirectory_, systemDirectory_}) {
        if (auto where = readFile(QDir(directory).filePath(QLatin1String(kFileName)))) {
            return where;
        }
    }
    return std::nullopt;
}

}  // namespace sumbrook
