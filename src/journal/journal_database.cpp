#include "journal_database.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <utility>

#include "journal_log.h"
#include "journal_schema.h"

namespace sumbrook {

namespace {

int primaryCode(const QSqlError& error) {
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber) & 0xff;
    return isNumber ? code : -1;
}

bool meansBusy(const QSqlError& error) {
    constexpr int kBusy = 5;
    constexpr int kLocked = 6;
    const int code = primaryCode(error);
    return code == kBusy || code == kLocked;
}

// The file itself is at fault, as opposed to the folder, the disk or another program.
bool meansDamaged(const QSqlError& error) {
    constexpr int kCorrupt = 11;
    constexpr int kNotADatabase = 26;
    const int code = primaryCode(error);
    return code == kCorrupt || code == kNotADatabase;
}

const char* const kSidecars[] = {"-wal", "-shm"};

// SQLite's reasons can run to a line per damaged page; one line is said.
QString oneLine(const QString& reason) {
    constexpr int kLongest = 200;
    const QString line = reason.simplified();
    return line.size() > kLongest ? line.left(kLongest) + QStringLiteral("…") : line;
}

}  // namespace

JournalDatabase::JournalDatabase(QString path)
    : path_(std::move(path)), reader_(path_, QStringLiteral("reader")) {}

JournalDatabase::~JournalDatabase() {
    writer_.reset();
    reader_.close();
}

JournalDatabase::Outcome JournalDatabase::tryOpen(QString& reason) {
    const auto outcomeOf = [&reason](const QSqlError& error) {
        reason = error.text();
        return meansBusy(error)      ? Outcome::Busy
               : meansDamaged(error) ? Outcome::Damaged
                                     : Outcome::Unusable;
    };
    if (!reader_.open()) {
        return outcomeOf(reader_.error());
    }
    Outcome outcome = Outcome::Ready;
    {
        QSqlDatabase db = reader_.database();
        QSqlQuery check(db);
        QSqlError error;
        if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()) {
            outcome = outcomeOf(check.lastError());
        } else if (check.value(0).toString() != QStringLiteral("ok")) {
            reason = check.value(0).toString();
            outcome = Outcome::Damaged;
        } else {
            check.finish();
            switch (JournalSchema::migrate(db, error)) {
                case JournalSchema::Migration::Ready:
                    break;
                case JournalSchema::Migration::Newer:
                    // Read as it is; nothing this program does may change it.
                    check.exec(QStringLiteral("PRAGMA query_only = ON"));
                    outcome = Outcome::Newer;
                    break;
                case JournalSchema::Migration::Failed:
                    outcome = outcomeOf(error);
                    break;
            }
        }
    }
    if (outcome != Outcome::Ready && outcome != Outcome::Newer) {
        reader_.close();
    }
    return outcome;
}

JournalDatabase::Outcome JournalDatabase::openWaiting(QString& reason) {
    QElapsedTimer waited;
    waited.start();
    bool waitSaid = false;
    for (;;) {
        const Outcome outcome = tryOpen(reason);
        if (outcome != Outcome::Busy || waited.elapsed() >= kOpenWait.count()) {
            return outcome;
        }
        if (!std::exchange(waitSaid, true)) {
            qCInfo(journalLog).noquote()
                << QStringLiteral("the practice journal %1 is held by another program; waiting")
                       .arg(path_);
        }
        QThread::msleep(100);
    }
}

bool JournalDatabase::setAside(QString& target) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    target = path_ + QStringLiteral(".damaged-") + stamp;
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
    return true;
}

bool JournalDatabase::isOpen() {
    if (held_ && !reader_.isOpen()) {
        QString reason;
        held_ = tryOpen(reason) == Outcome::Busy;
    }
    return reader_.isOpen();
}

bool JournalDatabase::open() {
    writer_.reset();
    reader_.close();
    held_ = false;
    const QFileInfo file(path_);
    if (!QDir().mkpath(file.absolutePath())) {
        qCWarning(journalLog).noquote() << "the practice journal's folder" << file.absolutePath()
                                        << "cannot be made; practice goes on without a journal";
        return false;
    }
    QString reason;
    Outcome outcome = openWaiting(reason);
    if (outcome == Outcome::Damaged) {
        QString target;
        if (!setAside(target)) {
            qCWarning(journalLog).noquote()
                << QStringLiteral(
                       "the practice journal %1 is damaged (%2) and cannot be set aside; "
                       "practice goes on without a journal")
                       .arg(path_, oneLine(reason));
            return false;
        }
        qCWarning(journalLog).noquote()
            << QStringLiteral(
                   "the practice journal was damaged (%1); it is kept as %2 and a "
                   "fresh one is started")
                   .arg(oneLine(reason), target);
        outcome = openWaiting(reason);
    }
    switch (outcome) {
        case Outcome::Ready:
        case Outcome::Newer:
            break;
        case Outcome::Busy:
            // Still held after the wait: practice goes on and its rows wait for the file.
            qCWarning(journalLog).noquote()
                << QStringLiteral(
                       "the practice journal %1 is still held by another program (%2); "
                       "practice goes on and is written to it once it is free")
                       .arg(path_, oneLine(reason));
            held_ = true;
            break;
        case Outcome::Damaged:
        case Outcome::Unusable:
            qCWarning(journalLog).noquote()
                << QStringLiteral(
                       "the practice journal %1 cannot be opened (%2); practice goes on "
                       "without a journal")
                       .arg(path_, oneLine(reason));
            return false;
    }
    writer_ = std::make_unique<JournalWriter>(path_);
    return true;
}

}  // namespace sumbrook
