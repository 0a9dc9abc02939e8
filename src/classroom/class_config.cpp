#include "class_config.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "class_log.h"

namespace sumbrook {

namespace {

// A connection string is one short line; anything longer is not one.
constexpr qint64 kMaxFileBytes = 4096;

QString userFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("sumbrook"));
}

}  // namespace

ClassConfig::ClassConfig() : ClassConfig(userFolder(), QStringLiteral("/etc/sumbrook")) {}

ClassConfig::ClassConfig(QString userDirectory, QString systemDirectory)
    : userDirectory_(std::move(userDirectory)), systemDirectory_(std::move(systemDirectory)) {}

std::optional<ConnectionString> ClassConfig::readFile(const QString& path) const {
    QFile file(path);
    if (!file.exists()) {
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(classLog).noquote() << QStringLiteral("%1 cannot be read (%2); it is passed over")
                                             .arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    QString error;
    const QString line = QString::fromUtf8(bytes).section(u'\n', 0, 0).trimmed();
    std::optional<ConnectionString> where;
    if (bytes.size() <= kMaxFileBytes && !line.isEmpty()) {
        where = ConnectionString::parse(line, &error);
    } else {
        error = QStringLiteral("it holds no connection string on its first line");
    }
    if (!where) {
        qCWarning(classLog).noquote() << QStringLiteral("%1 is passed over: %2").arg(path, error);
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
