#pragma once

#include <QString>
#include <optional>

#include "connection_string.h"

namespace sumbrook {

// Whether this computer is one of a class, and how it reaches the class's server: the
// pupils' connection string, one line of class.conf, read from the user's configuration
// folder ($XDG_CONFIG_HOME/sumbrook, else ~/.config/sumbrook) or else from /etc/sumbrook.
// A user's file that cannot be read as a connection string is passed over, said once on
// "sumbrook.class". It never writes the file.
class ClassConfig {
  public:
    static constexpr const char* kFileName = "class.conf";

    // The folders of an ordinary run.
    ClassConfig();
    ClassConfig(QString userDirectory, QString systemDirectory);

    // Nothing when neither file holds a connection string: not a class computer.
    std::optional<ConnectionString> read() const;

  private:
    std::optional<ConnectionString> readFile(const QString& path) const;

    QString userDirectory_;
    QString systemDirectory_;
};

}  // namespace sumbrook
