// The "班级名单" and "一个学生" pages over a class in memory, the teacher's answers given
// through the askers.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "fake_class.h"
#include "parent/parent_centre_window.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"
#include "teacher/roster_page.h"
#include "teacher/teacher_window.h"

namespace sumbrook {
namespace {

using testing::FakeClass;

const QDateTime kNow(QDate(2026, 12, 10), QTime(10, 30));

struct RosterWindow {
    RosterWindow() {
        fake.setList({{1, {"2024001", "王小明"}, false}, {2, {"2024002", "李华"}, false}});
        fake.giveRows(1);
        window = std::make_unique<TeacherWindow>(fake, pupils.queries, fake.source(),
                                                 [] { return kNow; });
        roster()->setYesNoAsker([this](const QString&, const QString& question) {
            questions << question;
            return true;
        });
    }
    RosterPage* roster() { return window->roster(); }
    // The list as shown: "number name" per row, those who left after "已离开".
    QStringList shown() {
        QStringList lines;
        for (QTableWidget* t : {roster()->listTable(), roster()->leftTable()}) {
            if (t == roster()->leftTable() && t->rowCount() > 0) {
                lines << QStringLiteral("已离开");
            }
            for (int row = 0; row < t->rowCount(); ++row) {
                lines << t->item(row, 0)->text() + u' ' + t->item(row, 1)->text();
            }
        }
        return lines;
    }
    FakeClass fake;
    testing::RecordedJournal pupils;
    std::unique_ptr<TeacherWindow> window;
    QStringList questions;
};

// Each row one change the teacher makes, and the list after it.
TEST(TeacherRoster, AddsRenamesAndRemovesThroughTheAskersAPupilWithWorkGoingToLeft) {
    RosterWindow w;
    const struct {
        const char* what;
        std::function<void(RosterWindow&)> act;
        QStringList shown;
        QString said;
    } rows[] = {
        {"add",
         [](RosterWindow& r) {
             r.roster()->setPupilAsker([](const QString&, const ClassPupil&) {
                 return std::optional<ClassPupil>({"2024003", " 张伟 "});
             });
             r.roster()->addPupil();
         },
         {"2024001 王小明", "2024002 李华", "2024003 张伟"},
         "已添加 2024003 张伟。"},
        {"a number taken",
         [](RosterWindow& r) {
             r.roster()->setPupilAsker([](const QString&, const ClassPupil&) {
                 return std::optional<ClassPupil>({"2024001", "赵六"});
             });
             r.roster()->addPupil();
         },
         {"2024001 王小明", "2024002 李华", "2024003 张伟"},
         "学号 2024001 已经是“王小明”的了。"},
        {"rename",
         [](RosterWindow& r) {
             r.roster()->selectPupil(2);
             r.roster()->setNameAsker([](const QString&, const QString&, const QString& was) {
                 EXPECT_EQ(was, QStringLiteral("李华"));
                 return std::optional<QString>(QStringLiteral("李小华"));
             });
             r.roster()->renamePupil();
         },
         {"2024001 王小明", "2024002 李小华", "2024003 张伟"},
         "“李华”已改名为“李小华”。"},
        {"remove a pupil with work",
         [](RosterWindow& r) {
             r.roster()->selectPupil(1);
             r.roster()->removePupil();
         },
         {"2024002 李小华", "2024003 张伟", "已离开", "2024001 王小明"},
         "王小明 已移到“已离开”，练习记录都留着。"},
        {"remove a pupil without",
         [](RosterWindow& r) {
             r.roster()->selectPupil(3);
             r.roster()->removePupil();
         },
         {"2024002 李小华", "已离开", "2024001 王小明"},
         "张伟 已从名单上删掉。"},
    };
    for (const auto& row : rows) {
        row.act(w);
        EXPECT_EQ(w.shown(), row.shown) << row.what;
        EXPECT_EQ(w.window->status(), row.said) << row.what;
    }
    // Removing is asked first, saying where a pupil with work goes.
    ASSERT_EQ(w.questions.size(), 2);
    EXPECT_TRUE(w.questions[0].contains(QStringLiteral("2024001 王小明")));
    EXPECT_TRUE(w.questions[0].contains(QStringLiteral("“已离开”")));
}

// The CSV file of `sumbrook class pupils import`: new numbers added, known ones renamed;
// a list with a bad row changes nothing.
TEST(TeacherRoster, ImportsTheClassListFileAndRefusesABadOneWhole) {
    RosterWindow w;
    QTemporaryDir dir;
    const struct {
        const char* what;
        QByteArray csv;
        QStringList shown;
        QString said;
    } rows[] = {
        {"a bad row",
         "学号,姓名\n2024005,孙七\n,没有学号\n",
         {"2024001 王小明", "2024002 李华"},
         "名单没有导入，1 处要改："},
        {"a good list",
         "学号,姓名\n2024001,王小明\n2024002,李小华\n2024005,孙七\n",
         {"2024001 王小明", "2024002 李小华", "2024005 孙七"},
         "名单已导入：新增 1 人，改名 1 人，没变 1 人。"},
    };
    for (const auto& row : rows) {
        const QString path = dir.filePath(QStringLiteral("list.csv"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(row.csv);
        file.close();
        w.roster()->setFileAsker([path] { return path; });
        w.roster()->importList();
        EXPECT_EQ(w.shown(), row.shown) << row.what;
        EXPECT_TRUE(w.window->status().startsWith(row.said))
            << row.what << ": " << w.window->status().toStdString();
    }
}

// "一个学生" is the parent's window over the pupils: its chooser is the pupil chooser and
// the family's add and rename buttons are not there.
TEST(TeacherPupilPage, IsTheParentsWindowWithoutTheFamilysButtons) {
    RosterWindow w;
    ParentCentreWindow* pupil = w.window->pupilWindow();
    ASSERT_NE(pupil, nullptr);
    w.window->showPage(QStringLiteral("一个学生"));
    w.window->show();
    for (const QString& name : {QStringLiteral("添加孩子"), QStringLiteral("改名")}) {
        auto* b = pupil->findChild<QPushButton*>(QStringLiteral("按钮_") + name);
        ASSERT_NE(b, nullptr);
        EXPECT_FALSE(b->isVisible()) << name.toStdString();
    }
    auto* chooser = pupil->findChild<QComboBox*>(QStringLiteral("组合框_孩子"));
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
}

}  // namespace
}  // namespace sumbrook
