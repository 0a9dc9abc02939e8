#include <QTemporaryDir>
#include <QUrl>

#include "class_server.h"

namespace sumbrook::testing {
namespace {

using ClassInit = ClassServerTest;

TEST_F(ClassInit, PrintsTheTwoLoginsOfTheClassAndEachConnects) {
    const Logins logins = init(admin_);
    const struct {
        QString login;
        QString role;
    } rows[] = {{logins.pupils, database_ + "_pupils"}, {logins.teacher, database_ + "_teacher"}};
    for (const auto& row : rows) {
        EXPECT_FALSE(row.login.contains(server_->password())) << row.login.toStdString();
        const Answer whoAmI = exec(row.login, QStringLiteral("SELECT current_user"));
        EXPECT_EQ(whoAmI.error, QString()) << row.role.toStdString();
        EXPECT_EQ(whoAmI.first.toString(), row.role);
    }
}

// A second run, here from a URI, brings new passwords and keeps the class and its work.
TEST_F(ClassInit, RunAgainKeepsThePupilsAndTheirWorkAndChangesThePasswords) {
    const Logins first = init(admin_);
    ASSERT_EQ(
        exec(first.teacher, "INSERT INTO pupils (number, name) VALUES ('2024001', '王小明')").error,
        QString());
    ASSERT_EQ(exec(first.pupils, addAnswer("a0000000-0000-4000-8000-000000000001", "2024001"))
                  .first.toBool(),
              true);

    const QString uri =
        QStringLiteral("postgresql://sumbrook:%1@%2:5432/%3")
            .arg(server_->password(),
                 QString::fromUtf8(QUrl::toPercentEncoding(server_->directory())), database_);
    const Logins second = init(uri);
    EXPECT_NE(exec(first.pupils, "SELECT 1").error, QString());
    EXPECT_EQ(exec(second.pupils, "SELECT name FROM pupils").first.toString(),
              QStringLiteral("王小明"));
    EXPECT_EQ(exec(second.teacher, "SELECT count(*) FROM answers").first.toInt(), 1);
}

TEST_F(ClassInit, RefusesBadInputAndServersItCannotUseWithOneLine) {
    const Logins logins = init(admin_);
    const QTemporaryDir noServer(QDir::tempPath() + QStringLiteral("/nopg-XXXXXX"));
    const struct {
        const char* what;
        QString url;
        int exitCode;
        QString said;  // a part of the one line said
    } rows[] = {
        {"another scheme", "http://school/class", 2, "postgresql://"},
        {"a word alone", "school", 2, "'school' has no '='"},
        {"an unknown key", "host=school colour=blue", 2, "'colour'"},
        {"a port out of range", "postgresql://school:99999/class", 2, "port"},
        {"an unclosed quote", "host='school dbname=class", 2, "closing quote"},
        {"nothing", "  ", 2, "no connection string"},
        {"a wrong password",
         QString(admin_).replace(server_->password(), QStringLiteral("wrong-secret")), 1,
         server_->directory()},
        {"a socket folder with no server",
         QStringLiteral("host=%1 user=sumbrook password=wrong-secret").arg(noServer.path()), 1,
         noServer.path()},
        {"a closed port", "host=127.0.0.1 port=1 user=sumbrook password=wrong-secret", 1,
         "127.0.0.1:1"},
        {"a login that may not create roles", logins.teacher, 1, "refused"},
        {"the server's own database", server_->connInfo(), 1, "of its own"},
    };
    for (const auto& row : rows) {
        const Outcome run = runSumbrook({"class", "init", row.url});
        EXPECT_EQ(run.exitCode, row.exitCode) << row.what;
        EXPECT_TRUE(run.lines.isEmpty()) << row.what;
        EXPECT_EQ(run.err.count('\n'), 1) << row.what << ": " << run.err.toStdString();
        EXPECT_TRUE(QString::fromLocal8Bit(run.err).contains(row.said))
            << row.what << ": " << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("wrong-secret")) << row.what;
        EXPECT_FALSE(run.err.contains(server_->password().toUtf8())) << row.what;
    }
}

}  // namespace
}  // namespace sumbrook::testing
