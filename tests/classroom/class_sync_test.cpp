#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <vector>

#include "class_server.h"
#include "journal/practice_journal.h"
#include "support/qstring_printer.h"

namespace sumbrook::testing {
namespace {

// A class computer (tests/classroom/class_sync_process.cpp) sending to a class whose
// list holds pupils 1 and 2.
class ClassSync : public ClassServerTest {
  protected:
    void SetUp() override {
        ClassServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        pupils_ = init(admin_).pupils;
        ASSERT_EQ(exec(admin_,
                       "INSERT INTO pupils (number, name) VALUES ('1', '王小明'),"
                       " ('2', '李小红')")
                      .error,
                  QString());
        // The throwaway server commits lazily: the class is made durable before any crash.
        ASSERT_EQ(exec(admin_, "CHECKPOINT").error, QString());
    }

    void start(QProcess& computer, const QStringList& arguments) {
        computer.start(QStringLiteral(CLASS_SYNC_PROCESS),
                       QStringList{arguments[0], folder_.path(), pupils_} + arguments.mid(1));
        ASSERT_TRUE(computer.waitForStarted());
    }

    // Waits for the computer to print a line that reads `line`, or a count of at least it.
    static bool waitFor(QProcess& computer, const QString& line) {
        for (;;) {
            while (computer.canReadLine()) {
                const QString said = QString::fromUtf8(computer.readLine()).trimmed();
                bool isCount = false;
                bool wantsCount = false;
                const int count = said.toInt(&isCount);
                const int wanted = line.toInt(&wantsCount);
                if (said == line || (isCount && wantsCount && count >= wanted)) {
                    return true;
                }
            }
            if (!computer.waitForReadyRead(60000)) {
                return false;
            }
        }
    }

    static void expectSent(QProcess& computer) {
        ASSERT_TRUE(computer.waitForFinished(120000));
        EXPECT_EQ(computer.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(computer.exitCode(), 0) << computer.readAllStandardError().toStdString();
    }

    // The answers of one pupil here: every one of them, once each, on the server.
    void expectEachOnceOnTheServer(int child, const QString& number) {
        PracticeJournal journal(folder_.path());
        ASSERT_TRUE(journal.open());
        const qsizetype here = journal.answers(child, {}).size();
        EXPECT_GT(here, 0);
        const Answer there =
            exec(admin_,
                 QStringLiteral("SELECT count(*) || ' ' || count(DISTINCT a.shown) FROM answers a"
                                " JOIN pupils p ON p.id = a.pupil WHERE p.number = '%1'")
                     .arg(number));
        EXPECT_EQ(there.first.toString(), QStringLiteral("%1 %1").arg(here))
            << number.toStdString();
        // Every tenth answer came with a run started and completed, each once too.
        const Answer runs = exec(admin_,
                                 "SELECT (SELECT count(*) FROM runs WHERE event = 'completion')"
                                 " || ' ' || (SELECT count(*) FROM progress_events"
                                 " WHERE kind = 'completion')");
        EXPECT_EQ(runs.first.toString(), QStringLiteral("%1 %1").arg(here / 10));
    }

    static int said(const QByteArray& err, const char* what) {
        return static_cast<int>(err.count(what));
    }

    QTemporaryDir folder_;
    QString pupils_;
};

TEST_F(ClassSync, RowsRecordedWhileTheServerIsDownArriveOnceWhenItIsBack) {
    ASSERT_TRUE(server_->crash());
    QProcess computer;
    start(computer, {"record", "1", "300", "0"});
    ASSERT_TRUE(waitFor(computer, "recorded"));
    QThread::msleep(1500);  // several tries in vain
    ASSERT_TRUE(server_->resume());
    expectSent(computer);
    expectEachOnceOnTheServer(2, "1");
    // Said once when it could not be reached, once when it was again; never the password.
    const QByteArray err = computer.readAllStandardError();
    EXPECT_EQ(said(err, "cannot be reached"), 1) << err.toStdString();
    EXPECT_EQ(said(err, "reached again"), 1) << err.toStdString();
    EXPECT_FALSE(err.contains(pupils_.section("password=", 1).toUtf8()));
}

TEST_F(ClassSync, AServerCrashedAndRestartedInAStreamOf5000RowsEndsWithEachOnce) {
    QProcess computer;
    start(computer, {"record", "1", "5000", "1"});
    ASSERT_TRUE(waitFor(computer, "1500"));
    ASSERT_TRUE(server_->crash());
    QThread::msleep(500);
    ASSERT_TRUE(server_->resume());
    ASSERT_TRUE(waitFor(computer, "recorded"));
    expectSent(computer);
    expectEachOnceOnTheServer(2, "1");
}

// Killed at any point of a stream, the computer sends on when started again: what it
// recorded is on the server once, whether its marks of what was sent were written or not.
TEST_F(ClassSync, AComputerKilledWhileSendingSendsEachRowOnceWhenStartedAgain) {
    for (const char* killAfter : {"300", "1500", "2800"}) {
        QProcess computer;
        start(computer, {"record", "1", "3000", "1"});
        ASSERT_TRUE(waitFor(computer, killAfter)) << killAfter;
        computer.kill();  // SIGKILL
        ASSERT_TRUE(computer.waitForFinished());
        QProcess again;
        start(again, {"sync"});
        expectSent(again);
        expectEachOnceOnTheServer(2, "1");
        ASSERT_EQ(exec(admin_, "DELETE FROM progress_events; DELETE FROM runs; DELETE FROM answers")
                      .error,
                  QString());
        folder_.remove();
        ASSERT_TRUE(QDir().mkpath(folder_.path()));
    }
}

// What reaches the server, by whose practice it is.
TEST_F(ClassSync, OnlyPupilsOfTheClassArriveAndARefusedPupilHoldsNothingUp) {
    QProcess computer;
    start(computer, {"record", "1,99,-,2", "400", "0"});
    expectSent(computer);
    const QByteArray err = computer.readAllStandardError();
    const struct {
        const char* who;
        int child;  // in the journal, in the order made
        int onServer;
        int sentMark;  // 0 waiting, 1 sent, 2 set aside
    } rows[] = {
        {"1", 2, 100, 1},
        {"99", 3, 0, 2},
        {"-", PracticeJournal::kFirstChildId, 0, 0},
        {"2", 4, 100, 1},
    };
    for (const auto& row : rows) {
        const Answer there =
            exec(admin_, QStringLiteral("SELECT count(*) FROM answers a JOIN pupils p"
                                        " ON p.id = a.pupil WHERE p.number = '%1'")
                             .arg(row.who));
        EXPECT_EQ(there.first.toInt(), row.onServer) << row.who;
        QSqlDatabase local = QSqlDatabase::addDatabase("QSQLITE", "local");
        local.setDatabaseName(QDir(folder_.path()).filePath(PracticeJournal::kFileName));
        ASSERT_TRUE(local.open());
        QSqlQuery marks(local);
        ASSERT_TRUE(marks.exec(
            QStringLiteral("SELECT group_concat(DISTINCT sent) FROM answers WHERE child = %1")
                .arg(row.child)));
        ASSERT_TRUE(marks.next());
        EXPECT_EQ(marks.value(0).toString(), QString::number(row.sentMark))
            << row.who << ": " << marks.value(0).toString().toStdString();
        marks.finish();
        local.close();
        local = {};
        QSqlDatabase::removeDatabase("local");
    }
    EXPECT_EQ(said(err, "refuses practice of pupil 99"), 1) << err.toStdString();

    // Put on the list afterwards, the pupil's practice set aside arrives at the next start.
    ASSERT_EQ(exec(admin_, "INSERT INTO pupils (number, name) VALUES ('99', '新同学')").error,
              QString());
    QProcess again;
    start(again, {"sync"});
    expectSent(again);
    EXPECT_EQ(exec(admin_,
                   "SELECT count(*) FROM answers a JOIN pupils p ON p.id = a.pupil"
                   " WHERE p.number = '99'")
                  .first.toInt(),
              100);
    const QByteArray errAgain = again.readAllStandardError();
    EXPECT_EQ(said(errAgain, "refused before are offered again"), 1) << errAgain.toStdString();
}

// A lesson: every pupil's computer answering once a second for 30 s at the same time, each
// with its sync worker as the program runs it. Nothing is lost and nothing doubled.
TEST_F(ClassSync, FortyComputersAnsweringAtOnceForThirtySecondsLoseNothing) {
    constexpr int kComputers = 40;
    QStringList pupils;
    for (int number = 3; number <= kComputers; ++number) {
        pupils << QStringLiteral("('%1', '学生%1')").arg(number);
    }
    ASSERT_EQ(exec(admin_, "INSERT INTO pupils (number, name) VALUES " + pupils.join(u',')).error,
              QString());
    std::vector<std::unique_ptr<QTemporaryDir>> folders;
    std::vector<std::unique_ptr<QProcess>> computers;
    for (int number = 1; number <= kComputers; ++number) {
        folders.push_back(std::make_unique<QTemporaryDir>());
        computers.push_back(std::make_unique<QProcess>());
        computers.back()->start(
            QStringLiteral(CLASS_SYNC_PROCESS),
            {QStringLiteral("lesson"), folders.back()->path(), pupils_, QString::number(number),
             QStringLiteral("1000"), QStringLiteral("30"), QStringLiteral("1")});
        ASSERT_TRUE(computers.back()->waitForStarted());
    }
    qsizetype recorded = 0;
    for (std::size_t i = 0; i < computers.size(); ++i) {
        expectSent(*computers[i]);
        PracticeJournal journal(folders[i]->path());
        ASSERT_TRUE(journal.open());
        for (const Child& child : journal.children()) {
            recorded += journal.answers(child.id, {}).size();
        }
    }
    EXPECT_GE(recorded, kComputers * 20);
    const Answer there =
        exec(admin_, "SELECT count(*) || ' ' || count(DISTINCT shown) FROM answers");
    EXPECT_EQ(there.first.toString(), QStringLiteral("%1 %1").arg(recorded));
}

}  // namespace
}  // namespace sumbrook::testing
