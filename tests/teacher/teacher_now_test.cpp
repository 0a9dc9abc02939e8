// The "此刻" page over a class in memory: the tiles, and the reader behind them.
#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QThread>

#include "fake_class.h"
#include "practice/core/exercise_catalogue.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"
#include "teacher/lesson_board.h"
#include "teacher/pupil_tile.h"
#include "teacher/teacher_window.h"

namespace sumbrook {
namespace {

using testing::FakeClass;
using testing::waitUntil;

const QDateTime kNow(QDate(2026, 12, 10), QTime(10, 30));

ListedPupil listed(int id, const QString& number, const QString& name) {
    return {id, {number, name}, false};
}

struct Class {
    explicit Class(QVector<PupilNow> now = {}) {
        QVector<ListedPupil> list;
        for (const PupilNow& p : now) {
            list.append(p.pupil);
        }
        fake.setList(list);
        fake.setNow(now);
    }
    FakeClass fake;
    testing::RecordedJournal pupils;
};

struct Window {
    explicit Window(Class& c)
        : window(c.fake, c.pupils.queries, c.fake.source(), [] { return kNow; }) {}
    TeacherWindow window;
    bool shows(int tiles) {
        return waitUntil([&] { return window.board()->tileCount() == tiles; });
    }
};

// Each row a pupil as the server tells them in the lesson going on, and the tile's lines.
TEST(TeacherNow, EachPupilsTileShowsTheirLessonAndAWarmMarkWhenTheyNeedHelp) {
    const struct {
        const char* what;
        PupilNow pupil;
        QString state;
        QString exercise;  // when the pupil has none; else the catalogue names it
        QString answers;
        QString mark;
    } rows[] = {
        {"practising well",
         {listed(1, "2024001", "王小明"), true, 4, 23, 21, 10, 9, kNow.addSecs(-5), false},
         "● 在练习",
         "",
         "23题 正确率91%",
         ""},
        {"stuck: under 60 % of the last ten",
         {listed(2, "2024002", "李华"), true, 7, 18, 9, 10, 4, kNow.addSecs(-10), true},
         "● 在练习",
         "",
         "18题 正确率50%",
         "需要帮助"},
        {"quiet for three minutes after answering",
         {listed(3, "2024003", "张伟"), false, 12, 6, 6, 6, 6, kNow.addSecs(-185), true},
         "○ 没在练习",
         "",
         "6题 正确率100%",
         "3分钟没答题"},
        {"not started in this lesson",
         {listed(4, "2024004", "陈静"), false, 0, 0, 0, 0, 0, QDateTime(), false},
         "○ 没在练习",
         "这节课还没有做题",
         "",
         ""},
    };
    QVector<PupilNow> now;
    for (const auto& row : rows) {
        now.append(row.pupil);
    }
    Class c(now);
    Window w(c);
    ASSERT_TRUE(w.shows(4));
    for (int i = 0; i < 4; ++i) {
        const auto& row = rows[i];
        PupilTile* tile = w.window.board()->tile(i);
        EXPECT_EQ(tile, w.window.board()->tileOf(row.pupil.pupil.pupil.number)) << row.what;
        EXPECT_EQ(tile->nameText(), row.pupil.pupil.pupil.name) << row.what;
        EXPECT_EQ(tile->stateText(), row.state) << row.what;
        const int e = row.pupil.exercise;
        EXPECT_EQ(tile->exerciseText(), e > 0 ? ExerciseCatalogue::title(e) : row.exercise)
            << row.what;
        EXPECT_EQ(tile->answersText(), row.answers) << row.what;
        EXPECT_EQ(tile->markText(), row.mark) << row.what;
        EXPECT_EQ(tile->marked(), !row.mark.isEmpty()) << row.what;
    }
    EXPECT_EQ(w.window.board()->summaryText(),
              QStringLiteral("4 名学生，2 人正在练习，2 人可能需要帮助"));
}

// Without the teacher doing anything, what the server says next shows: a pupil who
// starts, a pupil added to the list.
TEST(TeacherNow, FollowsTheServerWithNothingDone) {
    Class c({{listed(1, "01", "王小明"), false, 0, 0, 0, 0, 0, QDateTime(), false}});
    Window w(c);
    ASSERT_TRUE(w.shows(1));
    c.fake.setNow({{listed(1, "01", "王小明"), true, 3, 2, 2, 2, 2, kNow, false},
                   {listed(2, "02", "李华"), false, 0, 0, 0, 0, 0, QDateTime(), false}});
    ASSERT_TRUE(w.shows(2));
    EXPECT_TRUE(waitUntil([&] {
        return w.window.board()->tile(0)->answersText() == QStringLiteral("2题 正确率100%");
    }));
}

// The reads happen on a thread of their own, through queries made there, one at a time,
// even when a read takes longer than the beat.
TEST(TeacherNow, ReadsOffTheGuiThreadOneAtATime) {
    Class c({{listed(1, "01", "王小明"), true, 3, 2, 2, 2, 2, kNow, false}});
    c.fake.setReadMs(60);
    Window w(c);
    w.window.poller()->start(5);
    ASSERT_TRUE(waitUntil([&] { return c.fake.lessonReads() >= 6; }));
    EXPECT_EQ(c.fake.maxRunning(), 1);
    const QSet<QThread*> threads = c.fake.lessonThreads();
    EXPECT_EQ(threads.size(), 1);
    EXPECT_FALSE(threads.contains(QThread::currentThread()));
    EXPECT_EQ(c.fake.sourceThreads(), threads);
}

int classWarnings = 0;
QtMessageHandler previousHandler = nullptr;

void countClassWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && QByteArray(context.category) == "sumbrook.class") {
        ++classWarnings;
        EXPECT_TRUE(text.contains(QStringLiteral("服务器走开了"))) << text.toStdString();
        return;
    }
    previousHandler(type, context, text);
}

// A server that stops answering is said once, in the status line and on sumbrook.class,
// however many reads fail; the reads go on, and when it answers the line clears.
TEST(TeacherNow, SaysAFailureOnceAndRetriesUntilTheServerAnswers) {
    Class c({{listed(1, "01", "王小明"), true, 3, 2, 2, 2, 2, kNow, false}});
    Window w(c);
    ASSERT_TRUE(w.shows(1));
    classWarnings = 0;
    previousHandler = qInstallMessageHandler(countClassWarnings);
    c.fake.setError(QStringLiteral("服务器走开了"));
    w.window.poller()->start(5);
    const int before = c.fake.lessonReads();
    EXPECT_TRUE(waitUntil([&] { return c.fake.lessonReads() >= before + 5; }));
    EXPECT_EQ(classWarnings, 1);
    EXPECT_TRUE(w.window.status().contains(QStringLiteral("服务器走开了")));
    EXPECT_EQ(w.window.board()->tileCount(), 1);  // the last good read stays shown

    c.fake.setError(QString());
    EXPECT_TRUE(waitUntil([&] { return w.window.status().isEmpty(); }));
    qInstallMessageHandler(previousHandler);
    EXPECT_EQ(classWarnings, 1);
}

}  // namespace
}  // namespace sumbrook
