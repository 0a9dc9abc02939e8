#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
#include <vector>

namespace sumbrook {

// The class's tables on its PostgreSQL server, built by numbered steps. The table
// class_schema_version holds the last step taken; migrate() takes the ones the server
// lacks. It runs inside the caller's transaction, which ClassSetup holds together with
// an advisory lock, so that of two set-ups at once the second finds the first's work and
// a set-up cut off in the middle leaves the server as it was. A server of a later version
// is left as it is. Who may do what is ClassRoles' part, not this.
class ClassSchema {
  public:
    enum class Migration { Ready, Newer, Failed };

    struct Step {
        int version;
        QStringList statements;
    };

    static const std::vector<Step>& steps();
    static int latestVersion() { return steps().back().version; }

    // The tables, views and functions every step made, for the roles' grants.
    static const QStringList& tables();
    static const QStringList& views();
    // Each function with its argument types, as GRANT names it.
    static const QStringList& addingFunctions();
    // The functions only the teacher's login calls, likewise.
    static const QStringList& teacherFunctions();

    static Migration migrate(QSqlDatabase& db, QSqlError& error);

    // Whether the class's database is of the version this program reads (a login that
    // reads the class's tables); else why not, in one line that says what to do. Empty
    // when it is.
    static QString versionProblem(QSqlDatabase& db);
};

}  // namespace sumbrook
