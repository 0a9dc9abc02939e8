#include "progress_store.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>
#include <QStandardPaths>

namespace sumbrook {

ProgressStore::ProgressStore() : ProgressStore(defaultDirectory()) {}

ProgressStore::ProgressStore(QString directory) : directory_(std::move(directory)) {}

QString ProgressStore::defaultDirectory() {
    const QString overridden = qEnvironmentVariable("SUMBROOK_DATA_DIR");
    if (!overridden.isEmpty()) {
        return overridden;
    }
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString ProgressStore::filePath() const {
    return QDir(directory_).filePath(QString::fromLatin1(kName) + QStringLiteral(".json"));
}

void ProgressStore::open() {
    image_ = {};
    QFile file(filePath());
    if (!file.exists()) {
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError && document.isObject()) {
        image_ = document.object();
        return;
    }
    QFile::remove(filePath() + QStringLiteral(".damaged"));
    QFile::copy(filePath(), filePath() + QStringLiteral(".damaged"));
}

bool ProgressStore::flush() {
    if (!QDir().mkpath(directory_)) {
        return false;
    }
    QSaveFile file(filePath());
    // Unbuffered: a buffered save file can report a write cut short by a full disk as
    // success and then put the truncated file in place of the good one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return false;
    }
    const QByteArray bytes = QJsonDocument(image_).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace sumbrook
