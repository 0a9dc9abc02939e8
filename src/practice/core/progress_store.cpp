#include "progress_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace sumbrook {

Q_LOGGING_CATEGORY(progressLog, "sumbrook.progress")

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

void ProgressStore::removeStaleTemporaries() const {
    // QSaveFile's temporaries: the file name, a dot and six letters or digits.
    const QString name = QFileInfo(filePath()).fileName();
    const QRegularExpression temporary(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(name)));
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-kStaleTemporarySeconds);
    const QDir folder(directory_);
    for (const QFileInfo& entry :
         folder.entryInfoList({name + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
        if (temporary.match(entry.fileName()).hasMatch() &&
            entry.lastModified().toUTC() < staleBefore) {
            QFile::remove(entry.filePath());
        }
    }
}

void ProgressStore::setDamagedFileAside() {
    // Each damaged store keeps its own copy, named by when it was found, so that a store
    // damaged again never takes the place of an earlier copy.
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString base = filePath() + QStringLiteral(".damaged-") + stamp;
    QString aside = base;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n) {
        aside = base + u'-' + QString::number(n);
    }
    // A rename needs no room on a full disk, and QFile::rename never replaces a file that
    // is already there.
    if (QFile::rename(filePath(), aside)) {
        qCWarning(progressLog).noquote()
            << QStringLiteral(
                   "the progress store %1 was damaged; it is kept as %2 and a fresh "
                   "one is started")
                   .arg(filePath(), aside);
        return;
    }
    keepFile_ = true;
    sayOnce(QStringLiteral("the progress store %1 is damaged and cannot be set aside; it is "
                           "left as it is and this session's progress stays in memory")
                .arg(filePath()));
}

void ProgressStore::sayOnce(const QString& what) {
    if (!failureSaid_) {
        failureSaid_ = true;
        qCWarning(progressLog).noquote() << what;
    }
}

void ProgressStore::open() {
    image_ = {};
    keepFile_ = false;
    removeStaleTemporaries();
    QFile file(filePath());
    if (!file.exists()) {
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        // There but unreadable: perhaps good, so never written over.
        keepFile_ = true;
        sayOnce(QStringLiteral("the progress store %1 cannot be read (%2); it is left as it is "
                               "and this session's progress stays in memory")
                    .arg(filePath(), file.errorString()));
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
    setDamagedFileAside();
}

bool ProgressStore::flush() {
    if (keepFile_) {
        return false;
    }
    const auto failed = [this](const QString& reason) {
        sayOnce(QStringLiteral("the progress store %1 cannot be written (%2); practice goes on "
                               "and this session's progress stays in memory")
                    .arg(filePath(), reason));
        return false;
    };
    if (!QDir().mkpath(directory_)) {
        return failed(QStringLiteral("its folder cannot be made"));
    }
    QSaveFile file(filePath());
    // Unbuffered: a buffered save file can report a write cut short by a full disk as
    // success and then put the truncated file in place of the good one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return failed(file.errorString());
    }
    const QByteArray bytes = QJsonDocument(image_).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failed(reason);
    }
    if (!file.commit()) {
        return failed(file.errorString());
    }
    return true;
}

}  // namespace sumbrook
