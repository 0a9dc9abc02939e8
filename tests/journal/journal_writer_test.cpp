// The writer's promise to the practice: every row posted is written, in each posting
// thread's order, even when the writer is destroyed right after the post.
#include "journal/journal_writer.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <thread>
#include <vector>

#include "journal/practice_journal.h"

namespace sumbrook {
namespace {

// A folder in memory where the system has one: the rounds below commit thousands of
// times, and what they test does not depend on the disk.
QTemporaryDir scratchFolder() {
    const QString shm = QStringLiteral("/dev/shm");
    if (QFileInfo(shm).isDir() && QFileInfo(shm).isWritable()) {
        return QTemporaryDir(shm + QStringLiteral("/sumbrook-writer-XXXXXX"));
    }
    return QTemporaryDir();
}

AnsweredQuestion row(int thread, int n) {
    AnsweredQuestion a;
    a.at = QDateTime(QDate(2026, 12, 7), QTime(17, 0)).addMSecs(n);
    a.childId = 1;
    a.exercise = 1 + thread;
    a.shown = QString::number(n);
    a.expected = QStringLiteral("1");
    a.typed = QStringLiteral("1");
    a.right = true;
    a.ms = n;
    return a;
}

// The rows' (exercise, shown) in the order they went in.
std::vector<std::pair<int, int>> written(const QString& path) {
    std::vector<std::pair<int, int>> out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "written");
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        q.setForwardOnly(true);
        EXPECT_TRUE(q.exec("SELECT exercise, shown FROM answers ORDER BY id"));
        while (q.next()) {
            out.emplace_back(q.value(0).toInt(), q.value(1).toInt());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("written");
    return out;
}

TEST(JournalWriter, ARowPostedRightBeforeTheWriterGoesIsWritten) {
    QTemporaryDir dir = scratchFolder();
    const QString path = dir.path() + QStringLiteral("/journal.sqlite");
    {
        PracticeJournal journal(dir.path());
        ASSERT_TRUE(journal.open());
    }
    constexpr int kRounds = 10000;
    for (int i = 0; i < kRounds; ++i) {
        JournalWriter writer(path);
        writer.post(row(0, i));
    }
    const auto rows = written(path);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRounds));
    for (int i = 0; i < kRounds; ++i) {
        ASSERT_EQ(rows[static_cast<std::size_t>(i)].second, i);
    }
}

TEST(JournalWriter, SeveralPostingThreadsEachKeepTheirOrder) {
    QTemporaryDir dir = scratchFolder();
    const QString path = dir.path() + QStringLiteral("/journal.sqlite");
    PracticeJournal journal(dir.path());
    ASSERT_TRUE(journal.open());
    constexpr int kThreads = 4;
    constexpr int kEach = 5000;
    {
        JournalWriter writer(path);
        std::vector<std::thread> posters;
        for (int t = 0; t < kThreads; ++t) {
            posters.emplace_back([&writer, t] {
                for (int n = 0; n < kEach; ++n) {
                    writer.post(row(t, n));
                }
            });
        }
        for (std::thread& p : posters) {
            p.join();
        }
    }
    std::vector<int> next(kThreads + 1, 0);
    const auto rows = written(path);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kThreads * kEach));
    for (const auto& [thread, n] : rows) {
        ASSERT_EQ(n, next[static_cast<std::size_t>(thread)]++) << "thread " << thread - 1;
    }
}

}  // namespace
}  // namespace sumbrook
