#pragma once

#include <QString>
#include <memory>

#include "classroom/class_connection.h"
#include "classroom/class_queries.h"
#include "journal/journal_queries.h"

namespace sumbrook {

class ServerClassQueries;
class ServerPupilQueries;

// The class's server as the printing commands read it: one connection of the teacher's
// login, with the class list and every pupil's journal behind the two query interfaces.
// It reads; it changes nothing on the server.
class ClassReader {
  public:
    explicit ClassReader(ConnectionString where);
    ~ClassReader();

    // False with error() set when the server cannot be reached, refuses the login, or
    // holds the class in a version this program does not read.
    bool open();
    QString error() const {
        return versionProblem_.isEmpty() ? connection_.error() : versionProblem_;
    }

    const ClassQueries& pupilsOfClass() const;
    const JournalQueries& pupils() const;

    // The one line a user is told for a read the server refused: a refusal of the pupils'
    // login, which cannot read answers, is named as that.
    QString refusal(const QString& readError) const;
    // "… is the pupils' connection …": what a command says when given the pupils' login.
    static QString pupilsConnection(const ConnectionString& where);
    // True when `where` logs in as the pupils' role of its class.
    static bool isPupilsLogin(const ConnectionString& where);

  private:
    ClassConnection connection_;
    QString versionProblem_;
    std::unique_ptr<ServerClassQueries> class_;
    std::unique_ptr<ServerPupilQueries> pupils_;
};

}  // namespace sumbrook
