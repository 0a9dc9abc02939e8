// Signing in to the teacher's window over a throwaway server: only the teacher's login
// opens it; any other is told in one line and the teacher may enter another.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "classroom/class_server.h"
#include "support/qstring_printer.h"
#include "teacher/teacher_sign_in.h"

namespace sumbrook::testing {
namespace {

struct SignIn {
    // The answers the teacher gives, in turn; nothing when they run out (giving up).
    explicit SignIn(QStringList answers)
        : sign(
              TeacherLogin(home.path()),
              [this, answers](const QString& problem) -> std::optional<QString> {
                  asked << problem;
                  if (asked.size() > answers.size()) {
                      return std::nullopt;
                  }
                  return answers[asked.size() - 1];
              },
              [this](const QString& line) { told << line; }) {}
    QString kept() const {
        const auto where = TeacherLogin(home.path()).read();
        return where ? where->value(QStringLiteral("user")) : QString();
    }
    QTemporaryDir home;
    QStringList asked;
    QStringList told;
    TeacherSignIn sign;
};

using TeacherSignInServer = ClassServerTest;

TEST_F(TeacherSignInServer, OnlyTheTeachersLoginOpensAndAnyOtherIsToldInOneLine) {
    const Logins logins = init(admin_);
    const QString teacherRole = database_ + "_teacher";
    const QString wrong =
        QString(logins.teacher)
            .replace(QRegularExpression("password=\\S+"), "password=wrong-secret");
    const struct {
        const char* what;
        std::optional<QString> given;
        QStringList answers;
        QStringList told;  // words found in each line told, in turn
        bool opens;
    } rows[] = {
        {"the pupils' login, then the teacher's",
         logins.pupils,
         {logins.teacher},
         {"这是学生的连接，请使用教师的连接"},
         true},
        {"a wrong password, then giving up", wrong, {}, {server_->directory()}, false},
        {"a line that is no connection, then the pupils', then giving up",
         QStringLiteral("school"),
         {logins.pupils},
         {"'school'", "这是学生的连接，请使用教师的连接"},
         false},
        {"nothing given nor kept: asked", std::nullopt, {logins.teacher}, {}, true},
    };
    for (const auto& row : rows) {
        SignIn s(row.answers);
        const std::optional<ConnectionString> where = s.sign.signIn(row.given);
        EXPECT_EQ(where.has_value(), row.opens) << row.what;
        EXPECT_EQ(s.kept(), row.opens ? teacherRole : QString()) << row.what;
        ASSERT_EQ(s.told.size(), row.told.size())
            << row.what << ": " << s.told.join('|').toStdString();
        for (int i = 0; i < s.told.size(); ++i) {
            EXPECT_TRUE(s.told[i].contains(row.told[i]))
                << row.what << ": " << s.told[i].toStdString();
            EXPECT_FALSE(s.told[i].contains('\n')) << row.what;
            EXPECT_FALSE(s.told[i].contains("wrong-secret")) << row.what;
        }
        // Each question after a refusal says why; the first, when none was given, nothing.
        const int shift = row.given ? 0 : 1;
        for (int i = 0; i < s.asked.size(); ++i) {
            EXPECT_EQ(s.asked[i], i >= shift ? s.told[i - shift] : QString()) << row.what;
        }
    }
}

// The teacher is asked once: the next start uses the kept login without a question.
TEST_F(TeacherSignInServer, KeepsTheLoginThatOpenedForTheNextStart) {
    const Logins logins = init(admin_);
    SignIn first({logins.teacher});
    ASSERT_TRUE(first.sign.signIn(std::nullopt));
    EXPECT_EQ(first.asked.size(), 1);
    TeacherSignIn again(
        TeacherLogin(first.home.path()),
        [](const QString&) -> std::optional<QString> {
            ADD_FAILURE() << "asked again";
            return std::nullopt;
        },
        [](const QString& line) { ADD_FAILURE() << line.toStdString(); });
    EXPECT_TRUE(again.signIn(std::nullopt));
}

}  // namespace
}  // namespace sumbrook::testing

namespace sumbrook::testing {
namespace {

// What the command says before any window: its line in the help, and a word it does not
// know refused in one line.
TEST(TeacherCommand, IsInTheHelpAndRefusesAnUnknownWordInOneLine) {
    const Outcome help = runSumbrook({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.lines.contains("  sumbrook teacher [--connect CONNINFO]"));
    const Outcome run = runSumbrook({"teacher", "--colour"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("'--colour'")) << run.err.toStdString();
}

}  // namespace
}  // namespace sumbrook::testing
