#include "journal_database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include "journal_log.h"
#include "journal_schema.h"

namespace sumbrook {

namespace {

// SQLite's primary result codes that mean the file itself is at fault or held by
// another process beyond the wait, as opposed to the folder or the disk.
bool meansDamagedOrLocked(const QSqlError& error) {
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber) & 0xff;
    if (!isNumber) {
        return false;
    }
    constexpr int kBusy = 5;
    constexpr int kLocked = 6;
    constexpr int kCorrupt = 11;
    constexpr int kNotADatabase = 26;
    return code == kBusy || code == kLocked || code == kCorrupt || code == kNotADatabase;
}

const char* const kSidecars[] = {"-wal", "-shm"};

}  // namespace

JournalDatabase::JournalDatabase(QString path)
    : path_(std::move(path)), reader_(path_, QStringLiteral("reader")) {}

JournalDatabase::~JournalDatabase() {
    writer_.reset();
    reader_.close();
}

JournalDatabase::Outcome JournalDatabase::tryOpen(QString& reason) {
    if (!reader_.open()) {
        reason = reader_.error().text();
        return meansDamagedOrLocked(reader_.error()) ? Outcome::Damaged : Outcome::Unusable;
    }
    Outcome outcome = Outcome::Ready;
    {
        QSqlDatabase db = reader_.database();
        QSqlQuery check(db);
        QSqlError error;
        if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()) {
            reason = check.lastError().text();
            outcome =
                meansDamagedOrLocked(check.lastError()) ? Outcome::Damaged : Outcome::Unusable;
        } else if (check.value(0).toString() != QStringLiteral("ok")) {
            reason = check.value(0).toString();
            outcome = Outcome::Damaged;
        } else if (check.finish(); !JournalSchema::migrate(db, error)) {
            reason = error.text();
            outcome = meansDamagedOrLocked(error) ? Outcome::Damaged : Outcome::Unusable;
        }
    }
    if (outcome != Outcome::Ready) {
        reader_.close();
    }
    return outcome;
}

bool JournalDatabase::setAside() {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path_ + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n) {
        target = path_ + QStringLiteral(".damaged-") + stamp + u'-' + QString::number(n);
    }
    // Renaming needs no room on the disk; a copy is the fallback where renaming is refused.
    const auto moveAside = [](const QString& from, const QString& to) {
        if (QFile::rename(from, to)) {
            return true;
        }
        return QFile::copy(from, to) && QFile::remove(from);
    };
    if (QFileInfo::exists(path_) && !moveAside(path_, target)) {
        return false;
    }
    for (const char* sidecar : kSidecars) {
        const QString from = path_ + QLatin1String(sidecar);
        if (QFileInfo::exists(from) && !moveAside(from, target + QLatin1String(sidecar))) {
            QFile::remove(from);
        }
    }
    setAside_ = target;
    return true;
}

bool JournalDatabase::open() {
    writer_.reset();
    reader_.close();
    const QFileInfo file(path_);
    if (!QDir().mkpath(file.absolutePath())) {
        qCWarning(journalLog).noquote() << "the practice journal's folder" << file.absolutePath()
                                        << "cannot be made; practice goes on without a journal";
        return false;
    }
    QString reason;
    Outcome outcome = tryOpen(reason);
    if (outcome == Outcome::Damaged) {
        if (!setAside()) {
            qCWarning(journalLog).noquote()
                << QStringLiteral(
                       "the practice journal %1 is damaged or locked (%2) and cannot "
                       "be set aside; practice goes on without a journal")
                       .arg(path_, reason.trimmed());
            return false;
        }
        qCWarning(journalLog).noquote()
            << QStringLiteral(
                   "the practice journal was damaged or locked (%1); it is kept as %2 "
                   "and a fresh one is started")
                   .arg(reason.trimmed(), setAside_);
        outcome = tryOpen(reason);
    }
    if (outcome != Outcome::Ready) {
        qCWarning(journalLog).noquote()
            << QStringLiteral(
                   "the practice journal %1 cannot be opened (%2); practice goes on "
                   "without a journal")
                   .arg(path_, reason.trimmed());
        return false;
    }
    writer_ = std::make_unique<JournalWriter>(path_);
    return true;
}

}  // namespace sumbrook
