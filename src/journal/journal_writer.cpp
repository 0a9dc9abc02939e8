#include "journal_writer.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "journal_connection.h"
#include "journal_log.h"

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

// Binds and runs one row's insert.
struct RowWriter {
    QSqlQuery& answer;
    QSqlQuery& run;

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
        return answer.exec();
    }
    bool operator()(const RunEvent& e) const {
        run.bindValue(0, e.childId);
        run.bindValue(1, e.exercise);
        run.bindValue(2, eventName(e.kind));
        run.bindValue(3, e.at.toMSecsSinceEpoch());
        run.bindValue(4, e.kind == RunEvent::Kind::Completion ? QVariant(static_cast<qint64>(e.ms))
                                                              : QVariant());
        return run.exec();
    }
};

}  // namespace

JournalWriter::JournalWriter(QString databasePath)
    : path_(std::move(databasePath)), thread_([this] { run(); }) {}

JournalWriter::~JournalWriter() {
    stopping_.store(true);
    wake_.release();
    thread_.join();
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

void JournalWriter::waitUntilWritten() {
    const std::uint64_t target = posted_.load();
    std::unique_lock lock(doneMutex_);
    written_.wait(lock, [&] { return done_ >= target; });
}

std::uint64_t JournalWriter::dropped() const {
    return dropped_.load();
}

void JournalWriter::run() {
    JournalConnection connection(path_, QStringLiteral("writer"));
    const bool opened = connection.open();
    QSqlDatabase db = connection.database();
    QSqlQuery answer(db);
    QSqlQuery run(db);
    bool prepared =
        opened &&
        answer.prepare(QStringLiteral(
            "INSERT INTO answers (child, at_ms, day, exercise, shown, expected, typed, right, ms)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")) &&
        run.prepare(QStringLiteral(
            "INSERT INTO runs (child, exercise, event, at_ms, ms) VALUES (?, ?, ?, ?, ?)"));
    if (!prepared) {
        qCWarning(journalLog).noquote()
            << QStringLiteral(
                   "the practice journal cannot be written (%1); practice goes on "
                   "without it")
                   .arg((opened ? answer.lastError() : connection.error()).text().trimmed());
    }
    bool failureSaid = !prepared;

    for (;;) {
        wake_.acquire();
        Node* batch = takeAll();
        if (!batch) {
            if (stopping_.load()) {
                break;  // stopping, and nothing left to write
            }
            continue;  // a wake-up for rows an earlier round already took
        }
        bool ok = prepared && db.transaction();
        const RowWriter writer{answer, run};
        std::uint64_t count = 0;
        for (Node* n = batch; n; n = n->next) {
            ok = ok && std::visit(writer, n->row);
            ++count;
        }
        ok = ok && db.commit();
        if (!ok && prepared) {
            const QSqlError error = answer.lastError().isValid() ? answer.lastError()
                                    : run.lastError().isValid()  ? run.lastError()
                                                                 : db.lastError();
            db.rollback();
            if (!failureSaid) {
                qCWarning(journalLog).noquote()
                    << QStringLiteral(
                           "a practice record could not be written (%1); practice "
                           "goes on")
                           .arg(error.text().trimmed());
                failureSaid = true;
            }
        }
        while (batch) {
            Node* next = batch->next;
            delete batch;
            batch = next;
        }
        if (!ok) {
            dropped_.fetch_add(count);
        }
        {
            std::lock_guard lock(doneMutex_);
            done_ += count;
        }
        written_.notify_all();
    }
    answer.finish();
    run.finish();
}

}  // namespace sumbrook
