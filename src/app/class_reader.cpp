#include "class_reader.h"

#include <QSqlQuery>

#include "classroom/class_roles.h"
#include "classroom/class_schema.h"
#include "classroom/server_class_queries.h"
#include "classroom/server_pupil_queries.h"

namespace sumbrook {

ClassReader::ClassReader(ConnectionString where) : connection_(std::move(where)) {}

ClassReader::~ClassReader() = default;

bool ClassReader::open() {
    if (!connection_.open()) {
        return false;
    }
    QSqlDatabase db = connection_.database();
    if (const QString problem = ClassSchema::versionProblem(db);
        !problem.isEmpty() && !isPupilsLogin(connection_.where())) {
        versionProblem_ = problem;
        return false;
    }
    class_ = std::make_unique<ServerClassQueries>(connection_.database());
    pupils_ = std::make_unique<ServerPupilQueries>(connection_.database());
    return true;
}

const ClassQueries& ClassReader::pupilsOfClass() const {
    return *class_;
}

const JournalQueries& ClassReader::pupils() const {
    return *pupils_;
}

QString ClassReader::pupilsConnection(const ConnectionString& where) {
    return QStringLiteral(
               "%1 is the pupils' connection (as in class.conf), which cannot read "
               "the pupils' answers: give the teacher's")
        .arg(where.place());
}

bool ClassReader::isPupilsLogin(const ConnectionString& where) {
    return where.value(QStringLiteral("user")) ==
           ClassRoles::pupilsRole(where.value(QStringLiteral("dbname")));
}

QString ClassReader::refusal(const QString& readError) const {
    // The login's own name may not say which role it is (a URI without a user, say): the
    // server knows.
    QSqlQuery query(connection_.database());
    if (query.exec(QStringLiteral("SELECT current_user, current_database()")) && query.next() &&
        query.value(0).toString() == ClassRoles::pupilsRole(query.value(1).toString())) {
        return pupilsConnection(connection_.where());
    }
    return QStringLiteral("the server at %1 refused: %2")
        .arg(connection_.where().place(), readError);
}

}  // namespace sumbrook
