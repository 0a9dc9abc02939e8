#pragma once

#include <QString>
#include <optional>

#include "connection_string.h"

namespace sumbrook {

// The teacher's connection to the class's server, asked once and kept for this user in
// their configuration folder ($XDG_CONFIG_HOME/sumbrook/teacher.conf), readable by them
// alone (0600): it holds the teacher's password. Never in /etc, never logged.
class TeacherLogin {
  public:
    static constexpr const char* kFileName = "teacher.conf";

    // The folder of an ordinary run.
    TeacherLogin();
    explicit TeacherLogin(QString userDirectory);

    QString path() const;
    // Nothing when none is kept or the file cannot be read as one (then `error` says why).
    std::optional<ConnectionString> read(QString* error = nullptr) const;
    // Replaces the kept connection atomically, 0600 from its first byte; false with
    // `error` one line.
    bool keep(const ConnectionString& where, QString* error = nullptr) const;

  private:
    QString userDirectory_;
};

}  // namespace sumbrook
