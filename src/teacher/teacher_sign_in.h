#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "classroom/connection_string.h"
#include "classroom/teacher_login.h"

namespace sumbrook {

// Finds the teacher's connection before the window opens: the one given, else the one
// kept, else one asked for; each tried with a cheap read that only the teacher's role may
// make, so that the pupils' login, a wrong password or a server away is told in one line
// and the teacher may enter another. The connection that reads is kept (0600). It opens
// no window and keeps no connection open.
class TeacherSignIn {
  public:
    // The connection line the teacher typed, `problem` (empty the first time) said with the
    // question; nothing when they give up.
    using Asker = std::function<std::optional<QString>(const QString& problem)>;
    using Teller = std::function<void(const QString& line)>;

    TeacherSignIn(TeacherLogin login, Asker ask, Teller tell);

    // The teacher's connection that reads the class; nothing when the teacher gave up.
    std::optional<ConnectionString> signIn(const std::optional<QString>& given);

    // Empty when `where` reads the class as its teacher; else why not, in one line that
    // never holds the password.
    static QString problem(const ConnectionString& where);

  private:
    TeacherLogin login_;
    Asker ask_;
    Teller tell_;
};

}  // namespace sumbrook
