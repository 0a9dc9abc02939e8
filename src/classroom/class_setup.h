#pragma once

#include <QString>
#include <optional>

#include "class_connection.h"

namespace sumbrook {

// Sets a class's database up, or brings it to this program's version, in one transaction:
// the schema steps it lacks, then the two roles with new passwords and their rights.
// Pupils and their work stay. Every run gives both roles new passwords, since a password
// cannot be read back from the server and the teacher's is never kept in a file: the
// pupil computers' class.conf is then written anew.
class ClassSetup {
  public:
    struct Logins {
        QString pupils;  // libpq key=value strings, passwords included
        QString teacher;
    };

    explicit ClassSetup(ClassConnection& connection) : connection_(connection) {}

    // Nothing, with error() set to one line, when the server refuses a step (the login
    // may not create roles, say) or its schema is newer than this program's.
    std::optional<Logins> run();
    QString error() const { return error_; }

  private:
    ClassConnection& connection_;
    QString error_;
};

}  // namespace sumbrook
