#include "journal_writer.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <vector>

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
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void JournalWriter::post(Row row) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(row));
        ++posted_;
    }
    wake_.notify_one();
}

void JournalWriter::waitUntilWritten() {
    std::unique_lock lock(mutex_);
    const std::uint64_t target = posted_;
    written_.wait(lock, [&] { return done_ >= target; });
}

std::uint64_t JournalWriter::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
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

    std::vector<Row> batch;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) {
                break;  // stopping, and nothing left to write
            }
            batch.assign(std::make_move_iterator(queue_.begin()),
                         std::make_move_iterator(queue_.end()));
            queue_.clear();
        }
        bool ok = prepared && db.transaction();
        const RowWriter writer{answer, run};
        for (const Row& row : batch) {
            ok = ok && std::visit(writer, row);
        }
        ok = ok && db.commit();
        if (!ok && prepared) {
            const QSqlError error = answer.lastError().isValid() ? answer.lastError()
                                    : run.lastError().isValid()  ? run.lastError()
                                                                 : db.lastError();
            db.rollback();
            if (!failureSaid) {
                qCWarning(journalLog).noquote()
                    << "a practice record could not be written; practice goes on:" << error.text();
                failureSaid = true;
            }
        }
        {
            std::lock_guard lock(mutex_);
            done_ += batch.size();
            if (!ok) {
                dropped_ += batch.size();
            }
        }
        written_.notify_all();
        batch.clear();
    }
    answer.finish();
    run.finish();
}

}  // namespace sumbrook
