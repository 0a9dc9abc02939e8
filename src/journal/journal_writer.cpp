#include "journal_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <deque>
#include <memory>
#include <optional>
#include <utility>

#include "fact_columns.h"
#include "journal_connection.h"
#include "journal_log.h"
#include "journal_schema.h"

namespace sumbrook {

namespace {

QString eventName(RunEvent::Kind kind) {
    switch (kind) {
        case RunEvent::Kind::Start:
            return QStringLiteral("start");
        case RunEvent::Kind::End:
            return QStringLiteral("end");
        case RunEvent::Kind::Completion:
            return QStringLiteral("completion");
    }
    return {};
}

// The columns are NOT NULL; an absent text is stored as the empty one.
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

// The row's id everywhere it is ever sent, so that the class's server keeps it once.
QString newGuid() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Binds and runs one row's insert.
struct RowWriter {
    QSqlQuery& answer;
    QSqlQuery& run;
    QSqlQuery& progress;

    bool operator()(const AnsweredQuestion& a) const {
        answer.bindValue(0, a.childId);
        answer.bindValue(1, a.at.toMSecsSinceEpoch());
        answer.bindValue(2, a.at.date().toString(Qt::ISODate));
        answer.bindValue(3, a.exercise);
        answer.bindValue(4, text(a.shown));
        answer.bindValue(5, text(a.expected));
        answer.bindValue(6, text(a.typed));
        answer.bindValue(7, a.right ? 1 : 0);
        answer.bindValue(8, static_cast<qint64>(a.ms));
        answer.bindValue(9, a.review ? 1 : 0);
        FactColumns::bind(answer, 10, a.fact);
        answer.bindValue(10 + FactColumns::kCount, newGuid());
        return answer.exec();
    }
    bool operator()(const RunEvent& e) const {
        run.bindValue(0, e.childId);
        run.bindValue(1, e.exercise);
        run.bindValue(2, eventName(e.kind));
        run.bindValue(3, e.at.toMSecsSinceEpoch());
        run.bindValue(4, e.kind == RunEvent::Kind::Completion ? QVariant(static_cast<qint64>(e.ms))
                                                              : QVariant());
        run.bindValue(5, newGuid());
        return run.exec();
    }
    bool operator()(const ProgressEvent& e) const {
        const bool level = e.kind == ProgressEvent::Kind::Level;
        progress.bindValue(0, newGuid());
        progress.bindValue(1, e.childId);
        progress.bindValue(2, level ? QStringLiteral("level") : QStringLiteral("clear"));
        progress.bindValue(3, level ? QVariant(e.level) : QVariant());
        progress.bindValue(4, e.at.toMSecsSinceEpoch());
        return progress.exec();
    }
};

// Why rows cannot be written for now, from SQLite's primary result code.
enum class Trouble { None, Busy, Full, ReadOnly, Other };

Trouble troubleOf(const QSqlError& error) {
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber) & 0xff;
    constexpr int kPerm = 3;
    constexpr int kBusy = 5;
    constexpr int kLocked = 6;
    constexpr int kReadOnly = 8;
    constexpr int kFull = 13;
    constexpr int kCantOpen = 14;
    if (!isNumber) {
        return Trouble::Other;
    }
    switch (code) {
        case kBusy:
        case kLocked:
            return Trouble::Busy;
        case kFull:
            return Trouble::Full;
        case kPerm:
        case kReadOnly:
        case kCantOpen:
            return Trouble::ReadOnly;
        default:
            return Trouble::Other;
    }
}

QString troubleText(Trouble trouble) {
    switch (trouble) {
        case Trouble::Busy:
            return QStringLiteral("another program holds the journal");
        case Trouble::Full:
            return QStringLiteral("the disk is full");
        case Trouble::ReadOnly:
            return QStringLiteral("the journal or its folder cannot be written");
        case Trouble::None:
        case Trouble::Other:
            break;
    }
    return QStringLiteral("the journal cannot be written");
}

// Says each kind of trouble the first time it comes, and the end of a trouble that was
// said; a kind already said stays quiet when it comes back.
class TroubleReport {
  public:
    void failed(Trouble trouble, const QSqlError& error, const QString& path, std::size_t held) {
        current_ = trouble;
        const auto bit = 1u << static_cast<unsigned>(trouble);
        if ((said_ & bit) != 0) {
            return;
        }
        said_ |= bit;
        endToSay_ = true;
        qCWarning(journalLog).noquote()
            << QStringLiteral(
                   "practice records cannot be written to %1 for now: %2 (%3); the %4 "
                   "waiting are kept and written as soon as they can be")
                   .arg(path, troubleText(trouble), error.text().trimmed())
                   .arg(held);
    }
    void wrote(const QString& path, std::size_t rows) {
        if (current_ != Trouble::None && endToSay_) {
            qCInfo(journalLog).noquote()
                << QStringLiteral(
                       "practice records are written to %1 again; the %2 kept waiting are in")
                       .arg(path)
                       .arg(rows);
        }
        current_ = Trouble::None;
        endToSay_ = false;
    }
    bool inTrouble() const { return current_ != Trouble::None; }

  private:
    Trouble current_ = Trouble::None;
    unsigned said_ = 0;
    bool endToSay_ = false;
};

// One connection to the journal with its two inserts ready, opened again after any
// failure so that a connection left in an odd state by a full disk is not reused.
class WriteSession {
  public:
    enum class Opened { Yes, No, Newer };

    Opened open(const QString& path, QSqlError& error) {
        close();
        connection_ = std::make_unique<JournalConnection>(path, QStringLiteral("writer"));
        if (!connection_->open()) {
            error = connection_->error();
            close();
            return Opened::No;
        }
        QSqlDatabase db = connection_->database();
        switch (JournalSchema::migrate(db, error)) {
            case JournalSchema::Migration::Ready:
                break;
            case JournalSchema::Migration::Newer:
                close();
                return Opened::Newer;
            case JournalSchema::Migration::Failed:
                close();
                return Opened::No;
        }
        answer_.emplace(db);
        run_.emplace(db);
        progress_.emplace(db);
        if (!answer_->prepare(
                QStringLiteral(
                    "INSERT INTO answers (child, at_ms, day, exercise, shown, expected, typed,"
                    " right, ms, review, %1, guid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
                    " ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                    .arg(FactColumns::names())) ||
            !run_->prepare(
                QStringLiteral("INSERT INTO runs (child, exercise, event, at_ms, ms, guid)"
                               " VALUES (?, ?, ?, ?, ?, ?)")) ||
            !progress_->prepare(
                QStringLiteral("INSERT INTO progress_events (guid, child, kind, level, at_ms)"
                               " VALUES (?, ?, ?, ?, ?)"))) {
            error = lastErrorOf();
            close();
            return Opened::No;
        }
        return Opened::Yes;
    }

    bool isOpen() const { return answer_.has_value(); }

    // Commits all of `rows` or none of them.
    bool write(const std::deque<JournalWriter::Row>& rows, QSqlError& error) {
        QSqlDatabase db = connection_->database();
        if (!db.transaction()) {
            error = db.lastError();
            close();
            return false;
        }
        const RowWriter writer{*answer_, *run_, *progress_};
        for (const JournalWriter::Row& row : rows) {
            if (!std::visit(writer, row)) {
                error = lastErrorOf();
                db.rollback();
                close();
                return false;
            }
        }
        if (!db.commit()) {
            error = db.lastError();
            db.rollback();
            close();
            return false;
        }
        return true;
    }

    void close() {
        answer_.reset();
        run_.reset();
        progress_.reset();
        connection_.reset();
    }

  private:
    QSqlError lastErrorOf() const {
        for (const auto* query : {&answer_, &run_, &progress_}) {
            if (query->has_value() && (*query)->lastError().isValid()) {
                return (*query)->lastError();
            }
        }
        return {};
    }

    std::unique_ptr<JournalConnection> connection_;
    std::optional<QSqlQuery> answer_;
    std::optional<QSqlQuery> run_;
    std::optional<QSqlQuery> progress_;
};

}  // namespace

JournalWriter::JournalWriter(QString databasePath)
    : path_(std::move(databasePath)), thread_([this] { run(); }) {}

JournalWriter::~JournalWriter() {
    stopping_.store(true);
    wake_.release();
    thread_.join();
    // Rows can only be here if they were posted while the writer was being destroyed.
    for (Node* n = takeAll(); n;) {
        Node* next = n->next;
        delete n;
        n = next;
    }
}

QString JournalWriter::sideJournalPath(const QString& path) {
    const QFileInfo file(path);
    return file.dir().filePath(QStringLiteral("%1-v%2.%3")
                                   .arg(file.completeBaseName())
                                   .arg(JournalSchema::latestVersion())
                                   .arg(file.suffix()));
}

void JournalWriter::post(Row row) {
    // Counted before it is on the list, so that a waiter's count never runs ahead.
    posted_.fetch_add(1);
    auto* node = new Node{std::move(row), head_.load(std::memory_order_relaxed)};
    while (!head_.compare_exchange_weak(node->next, node, std::memory_order_release,
                                        std::memory_order_relaxed)) {
    }
    wake_.release();
}

JournalWriter::Node* JournalWriter::takeAll() {
    Node* newest = head_.exchange(nullptr, std::memory_order_acquire);
    Node* oldest = nullptr;
    while (newest) {
        Node* next = newest->next;
        newest->next = oldest;
        oldest = newest;
        newest = next;
    }
    return oldest;
}

void JournalWriter::setOnCommitted(std::function<void()> callback) {
    std::lock_guard lock(callbackMutex_);
    onCommitted_ = std::move(callback);
}

bool JournalWriter::waitUntilWritten(std::chrono::milliseconds timeout) {
    const std::uint64_t target = posted_.load();
    std::unique_lock lock(doneMutex_);
    const auto written = [&] { return done_ >= target; };
    if (timeout == std::chrono::milliseconds::max()) {
        written_.wait(lock, written);
        return true;
    }
    return written_.wait_for(lock, timeout, written);
}

void JournalWriter::countDone(std::uint64_t rows) {
    {
        std::lock_guard lock(doneMutex_);
        done_ += rows;
    }
    written_.notify_all();
}

void JournalWriter::run() {
    QString target = path_;
    WriteSession session;
    TroubleReport trouble;
    std::deque<Row> held;
    std::uint64_t overflow = 0;
    bool overflowSaid = false;
    auto retry = kFirstRetry;
    std::optional<std::chrono::steady_clock::time_point> giveUpAt;

    // Opens the session on the journal, or on the side journal when the journal is of a
    // later version; false, with `error` set, when neither can be had for now.
    const auto openSession = [&](QSqlError& error) {
        WriteSession::Opened opened = session.open(target, error);
        if (opened == WriteSession::Opened::Newer && target == path_) {
            target = sideJournalPath(path_);
            qCWarning(journalLog).noquote()
                << QStringLiteral(
                       "the practice journal %1 was written by a newer version of Sumbrook; "
                       "this program does not write into it, and keeps this practice in %2")
                       .arg(path_, target);
            opened = session.open(target, error);
        }
        if (opened == WriteSession::Opened::Newer) {
            error = QSqlError(QStringLiteral("the journal is of a newer version"), {},
                              QSqlError::StatementError, QStringLiteral("1"));
        }
        return opened == WriteSession::Opened::Yes;
    };
    {
        // Opened at once, so that a newer journal is said even where nothing is recorded;
        // any other failure is said when there are rows to write.
        QSqlError error;
        (void)openSession(error);
    }

    for (;;) {
        if (held.empty()) {
            wake_.acquire();
        } else {
            // In trouble: wait before trying again, unless more rows or the stop come.
            (void)wake_.try_acquire_for(retry);
        }
        // Read before the list is taken: a stop seen here comes after every row its
        // destroyer posted, so the take below has them all.
        const bool stopping = stopping_.load();
        for (Node* n = takeAll(); n;) {
            Node* next = n->next;
            if (held.size() < kMaxHeld) {
                held.push_back(std::move(n->row));
            } else {
                ++overflow;
            }
            delete n;
            n = next;
        }
        if (overflow > 0) {
            if (!std::exchange(overflowSaid, true)) {
                qCWarning(journalLog).noquote()
                    << QStringLiteral(
                           "practice records are being lost: %1 are already waiting to be "
                           "written")
                           .arg(kMaxHeld);
            }
            countDone(overflow);
            overflow = 0;
        }
        if (held.empty()) {
            if (stopping) {
                break;
            }
            continue;
        }
        QSqlError error;
        if ((session.isOpen() || openSession(error)) && session.write(held, error)) {
            trouble.wrote(target, held.size());
            countDone(held.size());
            {
                std::lock_guard lock(callbackMutex_);
                if (onCommitted_) {
                    onCommitted_();
                }
            }
            held.clear();
            retry = kFirstRetry;
            continue;
        }
        trouble.failed(troubleOf(error), error, target, held.size());
        retry = std::min(retry * 2, kLastRetry);
        if (stopping) {
            const auto now = std::chrono::steady_clock::now();
            if (!giveUpAt) {
                giveUpAt = now + kDrainLimit;
            } else if (now >= *giveUpAt) {
                qCWarning(journalLog).noquote()
                    << QStringLiteral(
                           "%1 practice records could not be written to %2 before the end and "
                           "are lost (%3)")
                           .arg(held.size())
                           .arg(target, error.text().trimmed());
                countDone(held.size());
                held.clear();
                break;
            }
        }
    }
}

}  // namespace sumbrook
