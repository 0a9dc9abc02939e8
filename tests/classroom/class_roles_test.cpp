#include "class_server.h"

namespace sumbrook::testing {
namespace {

// A class with one pupil, 2024001, and one answer of theirs.
class ClassRoles : public ClassServerTest {
  protected:
    void SetUp() override {
        ClassServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        logins_ = init(admin_);
        ASSERT_EQ(
            exec(logins_.teacher, "INSERT INTO pupils (number, name) VALUES ('2024001', '王小明')")
                .error,
            QString());
        ASSERT_EQ(exec(logins_.pupils, addAnswer(kFirstAnswer, "2024001")).error, QString());
    }

    static constexpr const char* kFirstAnswer = "a0000000-0000-4000-8000-000000000001";
    Logins logins_;
};

TEST_F(ClassRoles, PupilsMayReadTheListAndProgressAndAddOnlyThroughTheFunctions) {
    const struct {
        QString statement;
        bool allowed;
    } rows[] = {
        {"SELECT number, name FROM pupils", true},
        {"SELECT level, questions FROM pupil_progress", true},
        {"SELECT best_ms FROM pupil_best_times", true},
        {addAnswer("a0000000-0000-4000-8000-000000000002", "2024001"), true},
        {"SELECT * FROM answers", false},
        {"SELECT * FROM runs", false},
        {"SELECT * FROM progress_events", false},
        {"UPDATE pupils SET name = '李华'", false},
        {"DELETE FROM pupils", false},
        {"DELETE FROM answers", false},
        {"INSERT INTO pupils (number, name) VALUES ('2024999', '李华')", false},
        {"INSERT INTO progress_events VALUES ('b0000000-0000-4000-8000-000000000001', 1,"
         " 'seat-3', 'level', NULL, NULL, 21, 0)",
         false},
        {"CREATE TABLE mine (x integer)", false},
        {"CREATE TEMP TABLE mine (x integer)", false},
        {addAnswer("a0000000-0000-4000-8000-000000000003", "2024999"), false},
        {"SELECT remove_pupil(1)", false},
        {"UPDATE pupils SET \"left\" = true", false},
        {"SELECT number FROM pupils WHERE \"left\"", true},
    };
    for (const auto& row : rows) {
        const Answer answer = exec(logins_.pupils, row.statement);
        EXPECT_EQ(answer.error.isEmpty(), row.allowed)
            << row.statement.toStdString() << ": " << answer.error.toStdString();
    }
    EXPECT_EQ(exec(logins_.teacher, "SELECT count(*) FROM answers").first.toInt(), 2);
}

// A computer that sends a row again after a lost reply stores it once.
TEST_F(ClassRoles, EachRowAddedTwiceUnderOneGuidIsStoredOnce) {
    const struct {
        QString call;
        QString table;
    } rows[] = {
        {addAnswer("c0000000-0000-4000-8000-000000000001", "2024001"), "answers"},
        {"SELECT add_run('c0000000-0000-4000-8000-000000000002', '2024001', 'seat-3', 4,"
         " 'completion', 1709280000000, 61000)",
         "runs"},
        {"SELECT add_progress_event('c0000000-0000-4000-8000-000000000003', '2024001',"
         " 'seat-3', 'completion', 4, 61000, NULL, 1709280000000)",
         "progress_events"},
    };
    for (const auto& row : rows) {
        const QString guid = row.call.section(u'\'', 1, 1);
        EXPECT_EQ(exec(logins_.pupils, row.call).first, QVariant(true)) << row.table.toStdString();
        EXPECT_EQ(exec(logins_.pupils, row.call).first, QVariant(false)) << row.table.toStdString();
        EXPECT_EQ(
            exec(logins_.teacher,
                 QStringLiteral("SELECT count(*) FROM %1 WHERE guid = '%2'").arg(row.table, guid))
                .first.toInt(),
            1)
            << row.table.toStdString();
    }
}

TEST_F(ClassRoles, TheTeacherReadsTheClasssWorkAndNoPupilWithWorkIsDeleted) {
    EXPECT_EQ(exec(logins_.teacher, "SELECT typed FROM answers").first.toString(), "15");
    EXPECT_EQ(
        exec(logins_.teacher, "UPDATE pupils SET name = '王晓明' WHERE number = '2024001'").error,
        QString());
    const struct {
        QString login;
        QString statement;
    } refused[] = {
        {logins_.teacher, "DELETE FROM pupils"},
        {logins_.teacher, "UPDATE pupils SET number = '2024002'"},
        {logins_.teacher, "DELETE FROM answers"},
        {logins_.teacher, addAnswer("d0000000-0000-4000-8000-000000000001", "2024001")},
        // Not even the administrator, while the pupil has recorded work.
        {admin_, "DELETE FROM pupils"},
    };
    for (const auto& row : refused) {
        EXPECT_NE(exec(row.login, row.statement).error, QString()) << row.statement.toStdString();
    }
}

// The progress a pupil computer reads back: the least time of each exercise, the highest
// level and the counts of questions and right answers, all since the last clearing.
TEST_F(ClassRoles, ProgressIsWorkedOutFromTheEventsSinceTheLastClearingOrNewGame) {
    const struct {
        QString event;  // kind, exercise, ms, level, at_ms
        int level;
        int bestMs;  // of exercise 4; 0 for none
        int questions;
        int rightAnswers;
    } steps[] = {
        {"'completion', 4, 50000, NULL, 10", 0, 50000, 1, 1},
        {"'completion', 4, 42000, NULL, 20", 0, 42000, 1, 1},
        {"'completion', 4, 47000, NULL, 30", 0, 42000, 1, 1},
        {"'level', NULL, NULL, 5, 40", 5, 42000, 1, 1},
        {"'level', NULL, NULL, 3, 50", 5, 42000, 1, 1},
        // A clearing forgets times and counts; the level stays until a new game (level 0).
        {"'clear', NULL, NULL, NULL, 2000000000000", 5, 0, 0, 0},
        {"'completion', 4, 60000, NULL, 2000000000010", 5, 60000, 0, 0},
        {"'level', NULL, NULL, 1, 2000000000020", 5, 60000, 0, 0},
        {"'level', NULL, NULL, 0, 2000000000030", 0, 60000, 0, 0},
        {"'level', NULL, NULL, 2, 2000000000040", 2, 60000, 0, 0},
    };
    int n = 0;
    for (const auto& step : steps) {
        ++n;
        ASSERT_EQ(exec(logins_.pupils,
                       QStringLiteral("SELECT add_progress_event('e0000000-0000-4000-8000-%1',"
                                      " '2024001', 'seat-3', %2)")
                           .arg(n, 12, 10, QChar(u'0'))
                           .arg(step.event))
                      .error,
                  QString())
            << n;
        const QString progress = QStringLiteral(
            "SELECT level || ' ' || questions || ' ' || right_answers FROM pupil_progress");
        EXPECT_EQ(
            exec(logins_.pupils, progress).first.toString(),
            QStringLiteral("%1 %2 %3").arg(step.level).arg(step.questions).arg(step.rightAnswers))
            << "after step " << n;
        EXPECT_EQ(exec(logins_.pupils, "SELECT best_ms FROM pupil_best_times WHERE exercise = 4")
                      .first.toInt(),
                  step.bestMs)
            << "after step " << n;
    }
    // After the clearing: a wrong answer counts, a review's answer does not.
    exec(logins_.pupils,
         addAnswer("f0000000-0000-4000-8000-000000000001", "2024001", 2000000000030, false));
    exec(logins_.pupils,
         addAnswer("f0000000-0000-4000-8000-000000000002", "2024001", 2000000000040, true, true));
    EXPECT_EQ(exec(logins_.pupils, "SELECT questions || ' ' || right_answers FROM pupil_progress")
                  .first.toString(),
              "1 0");
}

}  // namespace
}  // namespace sumbrook::testing
