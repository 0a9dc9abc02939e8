#include "journal_schema.h"

#include <QSqlQuery>
#include <QVariant>

namespace sumbrook {

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
