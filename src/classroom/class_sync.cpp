#include "class_sync.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>
#include <QVariant>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "class_connection.h"
#include "class_log.h"
#include "journal/journal_connection.h"
#include "journal/journal_schema.h"

namespace sumbrook {

namespace {

// The journal version whose rows carry ids and sent marks.
constexpr int kOutboxVersion = 4;
constexpr int kSent = 1;
constexpr int kSetAside = 2;

// One local table of the outbox: how its unsent rows are read (id, guid and pupil first,
// then the adding function's remaining arguments, in its order) and sent. SQLite walks
// the table by id from where the last batch stopped, never sorting; rows of the family's
// children (no pupil) are passed over there, and met again only when the journal is
// looked over from its start.
struct Outbox {
    const char* table;
    QString select;
    QString add;
};

const std::array<Outbox, 3>& outboxes() {
    static const std::array<Outbox, 3> kOutboxes{{
        {"answers",
         QStringLiteral(
             "SELECT a.id, a.guid, c.pupil, a.at_ms, a.day, a.exercise, a.shown, a.expected,"
             " a.typed, a.right, a.ms, a.kind, a.numbers, a.signs, a.blank, a.hour, a.minute,"
             " a.picture, a.money, a.unit, a.fact, a.review"
             " FROM answers a LEFT JOIN children c ON c.id = a.child"
             " WHERE a.id > ? AND a.sent = 0 ORDER BY a.id LIMIT ?"),
         QStringLiteral("SELECT add_answer(?::uuid, ?, ?, ?, ?::date, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
                        " ?, ?, ?, ?, ?, ?, ?, ?)")},
        {"runs",
         QStringLiteral("SELECT r.id, r.guid, c.pupil, r.exercise, r.event, r.at_ms, r.ms"
                        " FROM runs r LEFT JOIN children c ON c.id = r.child"
                        " WHERE r.id > ? AND r.sent = 0"
                        " ORDER BY r.id LIMIT ?"),
         QStringLiteral("SELECT add_run(?::uuid, ?, ?, ?, ?, ?, ?)")},
        {"progress_events",
         QStringLiteral("SELECT e.id, e.guid, c.pupil, e.kind, NULL, NULL, e.level, e.at_ms"
                        " FROM progress_events e LEFT JOIN children c ON c.id = e.child"
                        " WHERE e.id > ? AND e.sent = 0"
                        " ORDER BY e.id LIMIT ?"),
         QStringLiteral("SELECT add_progress_event(?::uuid, ?, ?, ?, ?, ?, ?, ?)")},
    }};
    return kOutboxes;
}

constexpr std::size_t kAnswers = 0;
constexpr std::size_t kRuns = 1;

// Columns the journal keeps as 0/1 that the server takes as booleans, by table.
bool isBoolean(std::size_t table, int column) {
    return table == kAnswers && (column == 9 || column == 21);
}

struct Row {
    std::size_t table;
    qint64 id;
    QString guid;
    QString pupil;
    QVariantList rest;  // the adding function's arguments after guid, pupil and computer
};

// A completion of an exercise is also a step of the pupil's progress on the server, under
// the run's own id (another table's key); a review's completion is none.
std::optional<Row> completionEvent(const Row& run) {
    constexpr int kExercise = 0;
    constexpr int kEvent = 1;
    constexpr int kAtMs = 2;
    constexpr int kMs = 3;
    if (run.table != kRuns || run.rest[kEvent].toString() != QStringLiteral("completion") ||
        run.rest[kExercise].toInt() < 1) {
        return std::nullopt;
    }
    return Row{2,
               run.id,
               run.guid,
               run.pupil,
               {QStringLiteral("completion"), run.rest[kExercise], run.rest[kMs], QVariant(),
                run.rest[kAtMs]}};
}

bool refusedForGood(const QSqlError& error) {
    // Data exceptions and integrity violations: the same row is refused every time.
    const QString state = error.nativeErrorCode();
    return state.startsWith(QStringLiteral("22")) || state.startsWith(QStringLiteral("23"));
}

bool unknownPupil(const QSqlError& error) {
    return error.nativeErrorCode() == QStringLiteral("23503");
}

QString reasonOf(const QSqlError& error) {
    return ClassConnection::oneLine(error.databaseText().isEmpty() ? error.text()
                                                                   : error.databaseText());
}

// Says a trouble once when it starts and once when it ends.
class Trouble {
  public:
    explicit Trouble(QString what) : what_(std::move(what)) {}
    void failed(const QString& why) {
        if (!std::exchange(said_, true)) {
            qCWarning(classLog).noquote()
                << QStringLiteral("%1 (%2); practice is kept on this computer and sent later")
                       .arg(what_, why);
        }
    }
    void fine(const QString& again) {
        if (std::exchange(said_, false)) {
            qCInfo(classLog).noquote() << again;
        }
    }

  private:
    QString what_;
    bool said_ = false;
};

class SyncRound {
  public:
    SyncRound(const QString& journalPath, const ConnectionString& server,
              const ClassSync::Options& options)
        : journalPath_(journalPath),
          server_(server),
          options_(options),
          computer_(options.computer.isEmpty() ? QSysInfo::machineHostName() : options.computer),
          serverTrouble_(QStringLiteral("the class's server cannot be reached for now")),
          journalTrouble_(QStringLiteral("the practice journal cannot be read for sending")) {}

    enum class Outcome { Done, More, Trouble };

    void rewind() { cursors_.fill(0); }

    // One batch: Done when nothing was left to send, More when there may be more.
    Outcome step(std::uint64_t& sent, std::uint64_t& setAside) {
        std::vector<Row> rows;
        bool full = false;
        switch (readBatch(rows, full)) {
            case Outcome::Trouble:
                return Outcome::Trouble;
            case Outcome::Done:
                return Outcome::Done;
            case Outcome::More:
                break;
        }
        if (rows.empty()) {
            cursors_ = next_;
            return Outcome::More;  // a batch of the family's rows only
        }
        std::vector<std::size_t> refused;
        QString reason;
        if (!sendBatch(rows, refused, reason)) {
            return Outcome::Trouble;
        }
        if (!refused.empty()) {
            // The rest again, without them; a mark that failed is tried again later.
            if (!markRefused(rows, refused, reason)) {
                return Outcome::Trouble;
            }
            setAside += refused.size();
            return Outcome::More;
        }
        sent += rows.size();
        cursors_ = next_;
        markSent(rows);
        return full ? Outcome::More : Outcome::Done;
    }

  private:
    Outcome readBatch(std::vector<Row>& rows, bool& full) {
        if (!QFileInfo::exists(journalPath_)) {
            return Outcome::Done;  // nothing recorded yet
        }
        QString why;
        if (!openJournal(why)) {
            journalTrouble_.failed(why);
            return Outcome::Trouble;
        }
        QSqlDatabase db = journal_->database();
        next_ = cursors_;
        for (std::size_t t = 0; t < outboxes().size(); ++t) {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!query.prepare(outboxes()[t].select)) {
                return journalFailed(query.lastError());
            }
            query.bindValue(0, cursors_[t]);
            query.bindValue(1, options_.batch);
            if (!query.exec()) {
                return journalFailed(query.lastError());
            }
            int count = 0;
            const int columns = query.record().count();
            while (query.next()) {
                ++count;
                Row row{t,
                        query.value(0).toLongLong(),
                        query.value(1).toString(),
                        query.value(2).toString(),
                        {}};
                next_[t] = std::max(next_[t], row.id);
                if (row.pupil.isEmpty()) {
                    continue;
                }
                for (int c = 3; c < columns; ++c) {
                    const QVariant value = query.value(c);
                    row.rest.append(isBoolean(t, c) ? QVariant(value.toInt() != 0) : value);
                }
                rows.push_back(std::move(row));
            }
            if (query.lastError().isValid()) {
                return journalFailed(query.lastError());
            }
            full = full || count == options_.batch;
        }
        journalTrouble_.fine(QStringLiteral("the practice journal is read for sending again"));
        return rows.empty() && !full ? Outcome::Done : Outcome::More;
    }

    bool openJournal(QString& why) {
        if (std::exchange(reopenJournal_, false)) {
            journal_.reset();
        }
        if (journal_) {
            return true;
        }
        journal_ = std::make_unique<JournalConnection>(journalPath_, QStringLiteral("sync"));
        if (!journal_->open()) {
            why = journal_->error().text();
            journal_.reset();
            return false;
        }
        QSqlDatabase db = journal_->database();
        if (JournalSchema::version(db) < kOutboxVersion) {
            why = QStringLiteral("%1 is not yet of a version that keeps rows for sending")
                      .arg(journalPath_);
            journal_.reset();
            return false;
        }
        if (!setAsideOffered_) {
            setAsideOffered_ = offerSetAsideAgain(db);
        }
        return true;
    }

    // Rows the server refused for good in an earlier run are offered once more in each
    // run: the teacher may have put their pupil back on the class list since.
    bool offerSetAsideAgain(QSqlDatabase& db) {
        QSqlQuery query(db);
        int again = 0;
        bool done = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
        for (const Outbox& outbox : outboxes()) {
            done = done && query.exec(QStringLiteral("UPDATE %1 SET sent = 0 WHERE sent = %2")
                                          .arg(QLatin1String(outbox.table))
                                          .arg(kSetAside));
            again += done ? query.numRowsAffected() : 0;
        }
        done = done && query.exec(QStringLiteral("DELETE FROM set_aside")) &&
               query.exec(QStringLiteral("COMMIT"));
        if (!done) {
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            return false;  // tried again at the next reading
        }
        if (again > 0) {
            qCInfo(classLog).noquote()
                << QStringLiteral("%1 rows the class's server refused before are offered again")
                       .arg(again);
        }
        return true;
    }

    // The connection is opened again before the next read, once no query holds it.
    Outcome journalFailed(const QSqlError& error) {
        journalTrouble_.failed(QStringLiteral("%1: %2").arg(journalPath_, error.text()));
        reopenJournal_ = true;
        return Outcome::Trouble;
    }

    // A connection that failed is closed here, before the next use, once no query holds it.
    bool openServer(QString& why) {
        if (std::exchange(reconnect_, false)) {
            server_connection_.reset();
        }
        if (server_connection_) {
            return true;
        }
        ConnectionString where = server_;
        where.set(QStringLiteral("connect_timeout"),
                  QString::number(options_.connectTimeout.count()));
        // A server that vanishes from the network mid-statement is given up on, not
        // waited for until the system's TCP timeout.
        where.set(QStringLiteral("tcp_user_timeout"),
                  QString::number((std::chrono::duration_cast<std::chrono::milliseconds>(
                                       options_.connectTimeout) +
                                   options_.statementTimeout)
                                      .count()));
        server_connection_ = std::make_unique<ClassConnection>(where);
        if (!server_connection_->open()) {
            why = server_connection_->error();
            server_connection_.reset();
            return false;
        }
        // A commit is only taken as the server's once it is durable there: rows are then
        // marked sent here, never to be sent again.
        QSqlQuery query(server_connection_->database());
        if (!query.exec(QStringLiteral("SET statement_timeout = %1")
                            .arg(options_.statementTimeout.count())) ||
            !query.exec(QStringLiteral("SET synchronous_commit = on"))) {
            why = reasonOf(query.lastError());
            reconnect_ = true;
            return false;
        }
        return true;
    }

    // All of `rows` in one server transaction: true when committed, or when rows were
    // refused for good (then `refused` names them, nothing is committed); false when the
    // server could not be had.
    bool sendBatch(const std::vector<Row>& rows, std::vector<std::size_t>& refused,
                   QString& reason) {
        QString why;
        if (!openServer(why)) {
            serverTrouble_.failed(why);
            return false;
        }
        QSqlDatabase db = server_connection_->database();
        std::array<std::optional<QSqlQuery>, 3> adds;
        const auto serverFailed = [&](const QSqlError& error) {
            serverTrouble_.failed(QStringLiteral("%1: %2").arg(server_.place(), reasonOf(error)));
            reconnect_ = true;
            return false;
        };
        if (!db.transaction()) {
            return serverFailed(db.lastError());
        }
        for (std::size_t t = 0; t < adds.size(); ++t) {
            adds[t].emplace(db);
            if (!adds[t]->prepare(outboxes()[t].add)) {
                return serverFailed(adds[t]->lastError());
            }
        }
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& row = rows[i];
            QSqlError error;
            const auto add = [&](const Row& r) {
                QSqlQuery& query = *adds[r.table];
                query.bindValue(0, r.guid);
                query.bindValue(1, r.pupil);
                query.bindValue(2, computer_);
                for (int v = 0; v < r.rest.size(); ++v) {
                    query.bindValue(3 + v, r.rest[v]);
                }
                if (!query.exec()) {
                    error = query.lastError();
                    return false;
                }
                return true;
            };
            const std::optional<Row> completion = completionEvent(row);
            if (add(row) && (!completion || add(*completion))) {
                continue;
            }
            if (!refusedForGood(error)) {
                return serverFailed(error);
            }
            for (auto& query : adds) {
                query.reset();
            }
            db.rollback();
            reason = reasonOf(error);
            // A pupil not in the class is refused whatever the row: all of theirs go aside.
            for (std::size_t j = 0; j < rows.size(); ++j) {
                if (j == i || (unknownPupil(error) && rows[j].pupil == row.pupil)) {
                    refused.push_back(j);
                }
            }
            if (!std::exchange(saidRefusals_[unknownPupil(error) ? row.pupil : reason], true)) {
                qCWarning(classLog).noquote()
                    << QStringLiteral(
                           "the class's server refuses practice of pupil %1 (%2); it is set "
                           "aside on this computer and not sent")
                           .arg(row.pupil, reason);
            }
            return true;
        }
        for (auto& add : adds) {
            add.reset();
        }
        if (!db.commit()) {
            return serverFailed(db.lastError());
        }
        serverTrouble_.fine(QStringLiteral(
            "the class's server is reached again; the practice kept waiting is being sent"));
        return true;
    }

    // The server has them: never read again this run, and marked so that the next run
    // does not send them again (if the mark fails they are sent again and kept once).
    void markSent(const std::vector<Row>& rows) {
        std::array<QStringList, 3> ids;
        for (const Row& row : rows) {
            ids[row.table].append(QString::number(row.id));
        }
        QSqlDatabase db = journal_->database();
        QSqlQuery query(db);
        bool marked = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
        for (std::size_t t = 0; marked && t < ids.size(); ++t) {
            marked = ids[t].isEmpty() ||
                     query.exec(QStringLiteral("UPDATE %1 SET sent = %2 WHERE id IN (%3)")
                                    .arg(QLatin1String(outboxes()[t].table))
                                    .arg(kSent)
                                    .arg(ids[t].join(u',')));
        }
        marked = marked && query.exec(QStringLiteral("COMMIT"));
        if (!marked) {
            const QSqlError error = query.lastError();
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            journalFailed(error);
        }
    }

    bool markRefused(const std::vector<Row>& rows, const std::vector<std::size_t>& which,
                     const QString& reason) {
        QSqlDatabase db = journal_->database();
        QSqlQuery query(db);
        bool marked = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
        QSqlQuery mark(db);
        QSqlQuery note(db);
        for (std::size_t j : which) {
            const Row& row = rows[j];
            const QString table = QLatin1String(outboxes()[row.table].table);
            marked = marked &&
                     mark.exec(QStringLiteral("UPDATE %1 SET sent = %2 WHERE id = %3")
                                   .arg(table)
                                   .arg(kSetAside)
                                   .arg(row.id)) &&
                     note.prepare(QStringLiteral(
                         "INSERT OR REPLACE INTO set_aside (tbl, id, reason) VALUES (?, ?, ?)"));
            if (marked) {
                note.bindValue(0, table);
                note.bindValue(1, row.id);
                note.bindValue(2, reason);
                marked = note.exec();
            }
        }
        marked = marked && query.exec(QStringLiteral("COMMIT"));
        if (!marked) {
            const QSqlError error = query.lastError().isValid()  ? query.lastError()
                                    : mark.lastError().isValid() ? mark.lastError()
                                                                 : note.lastError();
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            journalFailed(error);
        }
        return marked;
    }

    QString journalPath_;
    ConnectionString server_;
    ClassSync::Options options_;
    QString computer_;
    std::unique_ptr<JournalConnection> journal_;
    bool reopenJournal_ = false;
    bool setAsideOffered_ = false;
    std::unique_ptr<ClassConnection> server_connection_;
    bool reconnect_ = false;
    // Each table's last id dealt with, and where the batch being sent takes it.
    std::array<qint64, 3> cursors_{};
    std::array<qint64, 3> next_{};
    Trouble serverTrouble_;
    Trouble journalTrouble_;
    QHash<QString, bool> saidRefusals_;
};

}  // namespace

ClassSync::ClassSync(QString journalPath, ConnectionString server)
    : ClassSync(std::move(journalPath), std::move(server), Options{}) {}

ClassSync::ClassSync(QString journalPath, ConnectionString server, Options options)
    : journalPath_(std::move(journalPath)),
      server_(std::move(server)),
      options_(std::move(options)),
      thread_([this] { run(); }) {}

ClassSync::~ClassSync() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ClassSync::wake() {
    {
        std::lock_guard lock(mutex_);
        ++wakes_;
    }
    changed_.notify_all();
}

void ClassSync::rescan() {
    {
        std::lock_guard lock(mutex_);
        rescan_ = true;
        ++wakes_;
    }
    changed_.notify_all();
}

ClassSync::Counts ClassSync::counts() const {
    return {sent_.load(), setAside_.load()};
}

bool ClassSync::waitUntilSent(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    const std::uint64_t target = ++wakes_;
    changed_.notify_all();
    return changed_.wait_for(lock, timeout, [&] { return caughtUp_ >= target; });
}

void ClassSync::run() {
    SyncRound round(journalPath_, server_, options_);
    auto retry = options_.firstRetry;
    auto delay = retry;
    bool inTrouble = false;
    bool first = true;
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (inTrouble) {
                // New rows do not hurry a server that is not answering; a stop does.
                changed_.wait_for(lock, delay, [&] { return stopping_; });
            } else if (!first && !changed_.wait_for(lock, options_.idleRescan,
                                                    [&] { return stopping_ || wakes_ != seen; })) {
                rescan_ = true;
            }
            first = false;
            if (stopping_) {
                break;
            }
            seen = wakes_;
            if (std::exchange(rescan_, false)) {
                round.rewind();
            }
        }
        SyncRound::Outcome outcome = SyncRound::Outcome::More;
        while (outcome == SyncRound::Outcome::More) {
            std::uint64_t sent = 0;
            std::uint64_t setAside = 0;
            outcome = round.step(sent, setAside);
            sent_ += sent;
            setAside_ += setAside;
            std::lock_guard lock(mutex_);
            if (stopping_) {
                break;
            }
        }
        inTrouble = outcome == SyncRound::Outcome::Trouble;
        if (inTrouble) {
            delay = retry;
            retry = std::min(retry * 2, options_.lastRetry);
            continue;
        }
        retry = options_.firstRetry;
        if (outcome == SyncRound::Outcome::Done) {
            {
                std::lock_guard lock(mutex_);
                caughtUp_ = std::max(caughtUp_, seen);
            }
            changed_.notify_all();
        }
    }
}

}  // namespace sumbrook
