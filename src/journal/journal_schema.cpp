#include "journal_schema.h"

#include <QSqlQuery>
#include <QVariant>
#include <vector>

#include "fact_columns.h"
#include "journal_log.h"
#include "legacy_fact_text.h"

namespace sumbrook {

namespace {

// Rows read and written back at a time: a batch is held in memory, and no row is
// written while the statement that read it is still open.
constexpr int kFillBatch = 20000;

// Gives each answer recorded before facts were kept its fact, read once from its text.
// A row whose text cannot be read keeps its text with no fact, and their number is said.
bool fillOlderFacts(QSqlDatabase& db, QSqlError& error) {
    struct Row {
        qint64 id;
        int exercise;
        QString shown;
        QString expected;
    };
    QSqlQuery read(db);
    read.setForwardOnly(true);
    QSqlQuery write(db);
    if (!read.prepare(QStringLiteral("SELECT id, exercise, shown, expected FROM answers"
                                     " WHERE id > ? ORDER BY id LIMIT ?")) ||
        !write.prepare(QStringLiteral("UPDATE answers SET (%1) = (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
                                      " WHERE id = ?")
                           .arg(FactColumns::names()))) {
        error = read.lastError().isValid() ? read.lastError() : write.lastError();
        return false;
    }
    std::vector<Row> batch;
    qint64 after = -1;
    qint64 unread = 0;
    do {
        batch.clear();
        read.bindValue(0, after);
        read.bindValue(1, kFillBatch);
        if (!read.exec()) {
            error = read.lastError();
            return false;
        }
        while (read.next()) {
            batch.push_back({read.value(0).toLongLong(), read.value(1).toInt(),
                             read.value(2).toString(), read.value(3).toString()});
        }
        read.finish();
        for (const Row& row : batch) {
            const std::optional<PracticeFact> fact =
                LegacyFactText::read(row.exercise, row.shown, row.expected);
            if (!fact) {
                ++unread;
                continue;
            }
            FactColumns::bind(write, 0, fact);
            write.bindValue(FactColumns::kCount, row.id);
            if (!write.exec()) {
                error = write.lastError();
                return false;
            }
        }
        if (!batch.empty()) {
            after = batch.back().id;
        }
    } while (batch.size() == static_cast<std::size_t>(kFillBatch));
    if (unread > 0) {
        qCWarning(journalLog).noquote()
            << QStringLiteral(
                   "%1 answers recorded before facts were kept could not be read as facts; "
                   "they keep their text and are left out of what is told by fact")
                   .arg(unread);
    }
    return true;
}

// A random (version 4) UUID in SQLite's own SQL, for rows recorded before rows had ids.
const QString kSqlGuid = QStringLiteral(
    "lower(hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' ||"
    " substr(hex(randomblob(2)), 2) || '-' || substr('89ab', 1 + (abs(random()) % 4), 1) ||"
    " substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))");

}  // namespace

const std::vector<JournalSchema::Step>& JournalSchema::steps() {
    static const std::vector<Step> kSteps{
        {1,
         {
             QStringLiteral("CREATE TABLE children (id INTEGER PRIMARY KEY, name TEXT NOT NULL)"),
             QStringLiteral("INSERT INTO children (id, name) VALUES (1, '宝贝')"),
             QStringLiteral("CREATE TABLE settings (key TEXT PRIMARY KEY, value)"),
             QStringLiteral("INSERT INTO settings (key, value) VALUES ('current_child', 1)"),
             // at_ms: milliseconds since the epoch; day: the local date it fell on, so that
             // days are counted as the child lived them.
             QStringLiteral("CREATE TABLE answers (id INTEGER PRIMARY KEY, child INTEGER NOT NULL,"
                            " at_ms INTEGER NOT NULL, day TEXT NOT NULL,"
                            " exercise INTEGER NOT NULL, shown TEXT NOT NULL,"
                            " expected TEXT NOT NULL, typed TEXT NOT NULL,"
                            " right INTEGER NOT NULL, ms INTEGER NOT NULL)"),
             QStringLiteral("CREATE INDEX answers_by_child_time ON answers (child, at_ms)"),
             QStringLiteral(
                 "CREATE INDEX answers_by_child_exercise ON answers (child, exercise, at_ms)"),
             QStringLiteral("CREATE TABLE runs (id INTEGER PRIMARY KEY, child INTEGER NOT NULL,"
                            " exercise INTEGER NOT NULL, event TEXT NOT NULL,"
                            " at_ms INTEGER NOT NULL, ms INTEGER)"),
             QStringLiteral(
                 "CREATE INDEX runs_by_child_event ON runs (child, event, exercise, at_ms)"),
         }},
        // Covering indexes for what the parent's window asks of a year of practice: the
        // days, each exercise's times in order (for their median) and the facts, each read
        // without a sort or a look at the rows.
        {2,
         {
             QStringLiteral("CREATE INDEX answers_by_day ON answers (child, day, right, at_ms)"),
             QStringLiteral(
                 "CREATE INDEX answers_by_time_taken ON answers (child, exercise, ms, at_ms)"),
             QStringLiteral("CREATE INDEX answers_by_fact"
                            " ON answers (child, exercise, shown, expected, right, at_ms)"),
         }},
        // Each answer's fact as fields, older rows' read once from their text. A review
        // run mixes facts of many exercises, so its start, end and completion go into
        // `runs` under exercise 0, which no exercise's tally or best time reads; its
        // answers keep their fact's own exercise and are marked `review`.
        {3,
         {
             QStringLiteral("ALTER TABLE answers ADD COLUMN kind TEXT"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN numbers TEXT"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN signs TEXT"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN blank INTEGER"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN hour INTEGER"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN minute INTEGER"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN picture INTEGER"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN money INTEGER"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN unit TEXT"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN fact TEXT"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN review INTEGER NOT NULL DEFAULT 0"),
         },
         &fillOlderFacts,
         {
             // One child's answers by fact, then time, covering what the learning rules
             // and the facts most often missed read; and the few rows without a fact, by
             // their text. Built after the fill so that each is written once, in order.
             QStringLiteral("CREATE INDEX answers_by_fact_key ON answers (child, fact, at_ms,"
                            " right, exercise, typed, day, ms, review) WHERE fact IS NOT NULL"),
             QStringLiteral("CREATE INDEX answers_without_fact ON answers"
                            " (child, exercise, shown, expected, right, at_ms) WHERE fact IS NULL"),
         }},
        // The journal is a class computer's outbox: each row has an id of its own, made
        // when it is written, under which the class's server keeps it once, and a mark the
        // sync sets once the server has it (0 waiting, 1 sent, 2 set aside as refused). No
        // index is added, so a write costs what it did; the sync reads on from where it
        // stopped by row id. `pupil` is the child's 学号 on a class computer.
        {4,
         {
             QStringLiteral("ALTER TABLE answers ADD COLUMN guid TEXT"),
             QStringLiteral("ALTER TABLE answers ADD COLUMN sent INTEGER NOT NULL DEFAULT 0"),
             QStringLiteral("ALTER TABLE runs ADD COLUMN guid TEXT"),
             QStringLiteral("ALTER TABLE runs ADD COLUMN sent INTEGER NOT NULL DEFAULT 0"),
             QStringLiteral("UPDATE answers SET guid = %1").arg(kSqlGuid),
             QStringLiteral("UPDATE runs SET guid = %1").arg(kSqlGuid),
             QStringLiteral("ALTER TABLE children ADD COLUMN pupil TEXT"),
             QStringLiteral("CREATE UNIQUE INDEX children_by_pupil ON children (pupil) WHERE pupil "
                            "IS NOT NULL"),
             // What the progress store changes on its own: a new game level, the history
             // cleared.
             QStringLiteral("CREATE TABLE progress_events (id INTEGER PRIMARY KEY,"
                            " guid TEXT NOT NULL, child INTEGER NOT NULL, kind TEXT NOT NULL,"
                            " level INTEGER, at_ms INTEGER NOT NULL,"
                            " sent INTEGER NOT NULL DEFAULT 0)"),
             // Why the server refused a row for good, for whoever looks into it.
             QStringLiteral("CREATE TABLE set_aside (tbl TEXT NOT NULL, id INTEGER NOT NULL,"
                            " reason TEXT NOT NULL, PRIMARY KEY (tbl, id))"),
         }},
    };
    return kSteps;
}

int JournalSchema::version(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        return -1;
    }
    return query.value(0).toInt();
}

JournalSchema::Migration JournalSchema::migrate(QSqlDatabase& db, QSqlError& error, int upTo) {
    QSqlQuery query(db);
    // IMMEDIATE takes the write lock before the version is read: a deferred transaction
    // would let two openers both read the old version and both take its steps.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        error = query.lastError();
        return Migration::Failed;
    }
    const auto fail = [&] {
        error = query.lastError();
        query.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return Migration::Failed;
    };
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        return fail();
    }
    const int current = query.value(0).toInt();
    query.finish();
    if (current > latestVersion()) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return Migration::Newer;
    }
    int reached = current;
    for (const Step& step : steps()) {
        if (step.version <= current || (upTo >= 0 && step.version > upTo)) {
            continue;
        }
        for (const QString& statement : step.statements) {
            if (!query.exec(statement)) {
                return fail();
            }
        }
        if (step.fill && !step.fill(db, error)) {
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            return Migration::Failed;
        }
        for (const QString& statement : step.afterFill) {
            if (!query.exec(statement)) {
                return fail();
            }
        }
        reached = step.version;
    }
    if (reached != current &&
        !query.exec(QStringLiteral("PRAGMA user_version = %1").arg(reached))) {
        return fail();
    }
    if (!query.exec(QStringLiteral("COMMIT"))) {
        return fail();
    }
    return Migration::Ready;
}

}  // namespace sumbrook
