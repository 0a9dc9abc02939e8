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
    return {QDateTime(QDate(2026, 12, 7), QTime(17, 0)).addMSecs(n),
            1,
            1 + thread,
            QString::number(n),
            "1",
            "1",
            true,
            n,
            {},
            false};
}

// A journal with its tables made, in a scratch folder; its file's path.
QString freshJournal(const QTemporaryDir& dir) {
    PracticeJournal journal(dir.path());
    EXPECT_TRUE(journal.open());
    return journal.filePath();
}

// The rows' (exercise, shown) in the order they went in: `threads` posters' `each` rows,
// all there and each poster's in its own order.
void expectEveryRowInOrder(const QString& path, int threads, int each) {
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
    ASSERT_EQ(out.size(), static_cast<std::size_t>(threads * each));
    std::vector<int> next(static_cast<std::size_t>(threads) + 1, 0);
    for (const auto& [thread, n] : out) {
        ASSERT_EQ(n, next[static_cast<std::size_t>(thread)]++) << "thread " << thread - 1;
    }
}

TEST(JournalWriter, ARowPostedRightBeforeTheWriterGoesIsWritten) {
    QTemporaryDir dir = scratchFolder();
    const QString path = freshJournal(dir);
    constexpr int kRounds = 10000;
    for (int i = 0; i < kRounds; ++i) {
        JournalWriter writer(path);
        writer.post(row(0, i));
    }
    expectEveryRowInOrder(path, 1, kRounds);
}

TEST(JournalWriter, SeveralPostingThreadsEachKeepTheirOrder) {
    QTemporaryDir dir = scratchFolder();
    const QString path = freshJournal(dir);
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
    expectEveryRowInOrder(path, kThreads, kEach);
}

}  // namespace
}  // namespace sumbrook
