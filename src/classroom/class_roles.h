#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace sumbrook {

// The two logins of a class, named after its database so that several classes share a
// server. "<db>_pupils" logs in from every pupil computer, so its password is no secret
// from a curious pupil: it may read the class list and the derived progress and add rows
// through the add_* functions, nothing else. "<db>_teacher" reads everything of the class,
// adds and renames pupils and takes them off the list through remove_pupil, which deletes
// only a pupil without recorded work. Both lose whatever else they were given.
class ClassRoles {
  public:
    static QString pupilsRole(const QString& database);
    static QString teacherRole(const QString& database);
    // Whether both names fit PostgreSQL's 63 bytes without being cut to the same name.
    static bool fits(const QString& database);

    // 32 letters and digits from the system's random source (about 190 bits).
    static QString newPassword();

    // Creates each role, or gives an existing one its new password, and sets the rights
    // of both on the database's objects. Inside the caller's transaction.
    static bool apply(QSqlDatabase& db, const QString& database, const QString& pupilsPassword,
                      const QString& teacherPassword, QSqlError& error);

    static QString quotedName(const QString& name);
};

}  // namespace sumbrook
