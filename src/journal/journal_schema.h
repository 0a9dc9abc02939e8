#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
#include <functional>
#include <vector>

namespace sumbrook {

// The journal's tables, built by numbered steps. A database records in PRAGMA user_version
// the last step it has taken; opening it takes the steps it lacks. The version is read and
// every step taken under one write lock, so that of two programs opening the journal at
// once the second waits and finds it ready, and a database cut off in the middle of the
// steps is still where it was. A database of a later version is left as it is.
class JournalSchema {
  public:
    enum class Migration { Ready, Newer, Failed };

    // Work a step needs beyond SQL statements, run in the same transaction; false, with
    // `error` set, fails the step.
    using Fill = std::function<bool(QSqlDatabase& db, QSqlError& error)>;

    struct Step {
        int version;
        QStringList statements;
        Fill fill = nullptr;         // after the statements
        QStringList afterFill = {};  // after the fill, e.g. indexes built once over its rows
    };

    static const std::vector<Step>& steps();
    static int latestVersion() { return steps().back().version; }

    // The version the database is at; -1 when it cannot be read.
    static int version(QSqlDatabase& db);
    // Takes every step after the database's version up to `upTo` (all by default): Ready
    // when the database is at that version; Newer, untouched, when it is past the latest
    // step this program knows; Failed, with `error` set and nothing left behind, when the
    // lock cannot be had or a step fails.
    static Migration migrate(QSqlDatabase& db, QSqlError& error, int upTo = -1);
};

}  // namespace sumbrook
