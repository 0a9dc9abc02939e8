#pragma once

#include <QSqlDatabase>
#include <QString>

#include "connection_string.h"

namespace sumbrook {

// One connection to the class's server through Qt's PostgreSQL driver, under a name of
// its own, usable on the thread that opened it; closing or destroying it removes it.
class ClassConnection {
  public:
    explicit ClassConnection(ConnectionString where);
    ~ClassConnection();
    ClassConnection(const ClassConnection&) = delete;
    ClassConnection& operator=(const ClassConnection&) = delete;

    // False with error() set: the driver is missing, the server cannot be reached, or
    // it refuses the login.
    bool open();
    void close();
    QSqlDatabase database() const;
    // One line naming the server and what went wrong, never the password.
    QString error() const { return error_; }
    const ConnectionString& where() const { return where_; }

    // A server's or driver's message as one line.
    static QString oneLine(const QString& message);

  private:
    ConnectionString where_;
    QString name_;
    QString error_;
};

}  // namespace sumbrook
