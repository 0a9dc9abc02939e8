#include "class_roles.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStringList>

#include "class_schema.h"

namespace sumbrook {

namespace {

constexpr int kPasswordLength = 32;
constexpr int kMaxNameBytes = 63;
constexpr int kScramIterations = 4096;  // what the server itself uses

QByteArray hmac(const QByteArray& key, const QByteArray& message) {
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
}

// The password as the server stores it for SCRAM-SHA-256 (RFC 7677), worked out here so
// that the password itself never reaches the server, nor its log of statements.
QString scramVerifier(const QString& password) {
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), salt.size() / 4);
    // PBKDF2-HMAC-SHA-256 of one block, which is the key's whole length.
    const QByteArray key = password.toUtf8();
    QByteArray u = hmac(key, salt + QByteArray("\0\0\0\1", 4));
    QByteArray salted = u;
    for (int i = 1; i < kScramIterations; ++i) {
        u = hmac(key, u);
        for (qsizetype b = 0; b < salted.size(); ++b) {
            salted[b] = static_cast<char>(salted[b] ^ u[b]);
        }
    }
    const QByteArray storedKey =
        QCryptographicHash::hash(hmac(salted, "Client Key"), QCryptographicHash::Sha256);
    const QByteArray serverKey = hmac(salted, "Server Key");
    return QStringLiteral("SCRAM-SHA-256$%1:%2$%3:%4")
        .arg(kScramIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(storedKey.toBase64()),
             QString::fromLatin1(serverKey.toBase64()));
}

}  // namespace

QString ClassRoles::pupilsRole(const QString& database) {
    return database + QStringLiteral("_pupils");
}

QString ClassRoles::teacherRole(const QString& database) {
    return database + QStringLiteral("_teacher");
}

bool ClassRoles::fits(const QString& database) {
    return teacherRole(database).toUtf8().size() <= kMaxNameBytes;
}

QString ClassRoles::newPassword() {
    static const QString kAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QString password;
    for (int i = 0; i < kPasswordLength; ++i) {
        password += kAlphabet[QRandomGenerator::system()->bounded(kAlphabet.size())];
    }
    return password;
}

QString ClassRoles::quotedName(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

bool ClassRoles::apply(QSqlDatabase& db, const QString& database, const QString& pupilsPassword,
                       const QString& teacherPassword, QSqlError& error) {
    QSqlQuery query(db);
    const QString pupils = quotedName(pupilsRole(database));
    const QString teacher = quotedName(teacherRole(database));
    const QString both = pupils + QStringLiteral(", ") + teacher;

    // A verifier holds only base-64 digits, '$' and ':', so it stands in quotes as it is.
    const struct {
        QString role;
        QString password;
    } logins[] = {{pupilsRole(database), pupilsPassword}, {teacherRole(database), teacherPassword}};
    for (const auto& login : logins) {
        if (!query.prepare(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"))) {
            error = query.lastError();
            return false;
        }
        query.addBindValue(login.role);
        if (!query.exec()) {
            error = query.lastError();
            return false;
        }
        const bool exists = query.next();
        query.finish();
        const QString statement =
            exists ? QStringLiteral(
                         "ALTER ROLE %1 WITH LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE"
                         " NOREPLICATION NOBYPASSRLS PASSWORD '%2'")
                   : QStringLiteral(
                         "CREATE ROLE %1 WITH LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE"
                         " NOREPLICATION NOBYPASSRLS PASSWORD '%2'");
        if (!query.exec(statement.arg(quotedName(login.role), scramVerifier(login.password)))) {
            error = query.lastError();
            return false;
        }
    }

    QStringList statements{
        // Nobody else gets in, makes temporary tables or objects of their own, or calls
        // a function made later without being given it.
        QStringLiteral("REVOKE ALL ON DATABASE %1 FROM PUBLIC").arg(quotedName(database)),
        QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2").arg(quotedName(database), both),
        QStringLiteral("REVOKE ALL ON SCHEMA public FROM PUBLIC"),
        QStringLiteral("GRANT USAGE ON SCHEMA public TO %1").arg(both),
        QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA public REVOKE EXECUTE ON FUNCTIONS"
                       " FROM PUBLIC"),
        QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA public FROM PUBLIC, %1").arg(both),
        QStringLiteral("REVOKE ALL ON ALL SEQUENCES IN SCHEMA public FROM PUBLIC, %1").arg(both),
        QStringLiteral("REVOKE ALL ON ALL FUNCTIONS IN SCHEMA public FROM PUBLIC, %1").arg(both),
        QStringLiteral("GRANT SELECT ON pupils, %1 TO %2")
            .arg(ClassSchema::views().join(QStringLiteral(", ")), pupils),
        QStringLiteral("GRANT SELECT ON %1, %2 TO %3")
            .arg(ClassSchema::tables().join(QStringLiteral(", ")),
                 ClassSchema::views().join(QStringLiteral(", ")), teacher),
        // Taking a pupil off the list goes through remove_pupil; bringing one back is
        // an import's update.
        QStringLiteral("GRANT INSERT (number, name), UPDATE (name, \"left\") ON pupils TO %1")
            .arg(teacher),
    };
    for (const QString& function : ClassSchema::teacherFunctions()) {
        statements.append(
            QStringLiteral("GRANT EXECUTE ON FUNCTION %1 TO %2").arg(function, teacher));
    }
    for (const QString& function : ClassSchema::addingFunctions()) {
        statements.append(
            QStringLiteral("GRANT EXECUTE ON FUNCTION %1 TO %2").arg(function, pupils));
    }
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            error = query.lastError();
            return false;
        }
    }
    return true;
}

}  // namespace sumbrook
