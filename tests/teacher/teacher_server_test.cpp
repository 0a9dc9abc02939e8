// The teacher's window over a throwaway server: what other computers send shows in the
// tiles by itself, and a made-up term opens on every page.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

#include "classroom/class_server.h"
#include "classroom/server_class_queries.h"
#include "classroom/server_pupil_queries.h"
#include "fake_class.h"
#include "parent/parent_centre_window.h"
#include "support/class_term.h"
#include "support/qstring_printer.h"
#include "teacher/class_page.h"
#include "teacher/heat_map_view.h"
#include "teacher/lesson_board.h"
#include "teacher/pupil_tile.h"
#include "teacher/roster_page.h"
#include "teacher/server_lesson_source.h"
#include "teacher/teacher_window.h"

namespace sumbrook::testing {
namespace {

// The teacher's window as `sumbrook teacher` opens it, over the teacher's login.
struct ServerWindow {
    explicit ServerWindow(const QString& teacher)
        : where(*ConnectionString::parse(teacher, nullptr)), connection(where) {
        opened = connection.open();
        queries.emplace(connection.database());
        pupils.emplace(connection.database());
        window.emplace(*queries, *pupils, serverLessonSource(where));
    }
    ~ServerWindow() {
        window.reset();
        pupils.reset();
        queries.reset();
    }
    PupilTile* tile(const QString& number) { return window->board()->tileOf(number); }

    ConnectionString where;
    ClassConnection connection;
    bool opened = false;
    std::optional<ServerClassQueries> queries;
    std::optional<ServerPupilQueries> pupils;
    std::optional<TeacherWindow> window;
};

using TeacherWindowServer = ClassServerTest;

// A class computer in another process answers for two pupils; once its answers are on the
// server, the tiles show them within 2 s with nothing done in the window.
TEST_F(TeacherWindowServer, AnotherComputersAnswersShowInTheTilesWithinTwoSeconds) {
    const Logins logins = init(admin_);
    ServerWindow w(logins.teacher);
    ASSERT_TRUE(w.opened);
    ASSERT_GT(w.queries->addPupil({"01", "王小明"}), 0);
    ASSERT_GT(w.queries->addPupil({"02", "李华"}), 0);
    ASSERT_TRUE(waitUntil([&] { return w.window->board()->tileCount() == 2; }));
    EXPECT_EQ(w.tile("01")->answersText(), QString());

    QTemporaryDir computer;
    QProcess sync;
    sync.start(QStringLiteral(CLASS_SYNC_PROCESS),
               {"record", computer.path(), logins.pupils, "01,02", "7", "0"});
    ASSERT_TRUE(sync.waitForFinished(60000));
    ASSERT_EQ(sync.exitCode(), 0) << sync.readAllStandardError().toStdString();

    // Answers 1..7 by turns: 02 gets the odd ones, 01 the even ones.
    EXPECT_TRUE(waitUntil(
        [&] {
            return w.tile("01")->answersText().startsWith(QStringLiteral("3题")) &&
                   w.tile("02")->answersText().startsWith(QStringLiteral("4题"));
        },
        2000))
        << w.tile("01")->answersText().toStdString() << " / "
        << w.tile("02")->answersText().toStdString();
    EXPECT_EQ(w.tile("01")->stateText(), QStringLiteral("● 在练习"));
}

// A term of ten pupils: the lesson's stuck, quiet and absent pupils marked as such, the
// class's page, the pupil chooser and the list all over the same ten.
TEST_F(TeacherWindowServer, OpensOverATermWithTheLessonsMarksOnEveryPage) {
    const Logins logins = init(admin_);
    {
        ClassConnection owner(*ConnectionString::parse(admin_, nullptr));
        ASSERT_TRUE(owner.open()) << owner.error().toStdString();
        QSqlDatabase db = owner.database();
        QString error;
        ASSERT_TRUE(ClassTerm::fill(db, {10, 20, 60, 11}, QDateTime::currentDateTime(), error))
            << error.toStdString();
    }
    ServerWindow w(logins.teacher);
    ASSERT_TRUE(w.opened);
    ASSERT_TRUE(waitUntil([&] { return w.window->board()->tileCount() == 10; }));
    const struct {
        const char* number;
        QString mark;  // how it begins or ends, "" for none
        bool ends;
    } rows[] = {
        {ClassTerm::kStuck, QStringLiteral("需要帮助"), false},
        {ClassTerm::kQuiet, QStringLiteral("分钟没答题"), true},
        {ClassTerm::kAbsent, QString(), false},
    };
    for (const auto& row : rows) {
        PupilTile* tile = w.tile(row.number);
        ASSERT_NE(tile, nullptr) << row.number;
        EXPECT_TRUE(row.mark.isEmpty() ? !tile->marked()
                    : row.ends         ? tile->markText().endsWith(row.mark)
                                       : tile->markText() == row.mark)
            << row.number << ": " << tile->markText().toStdString();
    }
    EXPECT_EQ(w.tile(ClassTerm::kAbsent)->exerciseText(), QStringLiteral("这节课还没有做题"));

    w.window->showPage(QStringLiteral("全班"));
    ASSERT_TRUE(waitUntil([&] { return w.window->classPage()->filled(); }))
        << w.window->status().toStdString();
    EXPECT_EQ(w.window->classPage()->heatMap()->map().pupils.size(), 10u);
    EXPECT_GT(w.window->classPage()->missedTable()->rowCount(), 0);

    auto* chooser = w.window->pupilWindow()->findChild<QComboBox*>(QStringLiteral("组合框_孩子"));
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->count(), 10);
    EXPECT_EQ(w.window->roster()->listTable()->rowCount(), 10);
    EXPECT_EQ(w.window->status(), QString());
}

}  // namespace
}  // namespace sumbrook::testing
