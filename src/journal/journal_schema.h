#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
#include <vector>

namespace sumbrook {

// The journal's tables, built by numbered steps. A database records in PRAGMA user_version
// the last step it has taken; opening it takes the steps it lacks, each in a transaction
// of its own, so a database cut off in the middle of a step is still at the one before.
class JournalSchema {
  public:
    struct Step {
        int version;
        QStringList statements;
    };

    static const std::vector<Step>& steps();
    static int latestVersion() { return steps().back().version; }

    // The version the database is at; -1 when it cannot be read.
    static int version(QSqlDatabase& db);
    // Takes every step after the database's version up to `upTo` (all by default).
    // False, with `error` set, when a step fails; that step leaves nothing behind.
    static bool migrate(QSqlDatabase& db, QSqlError& error, int upTo = -1);
};

}  // namespace sumbrook
