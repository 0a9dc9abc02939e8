#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdint>
#include <random>

#include "journal/practice_journal.h"

namespace sumbrook {
namespace {

// Starts a writer on the journal in `folder`, its confirmations coming through the pipe.
bool startWriter(const QByteArray& folder, pid_t& child, int (&pipeEnds)[2]) {
    if (pipe(pipeEnds) != 0) {
        return false;
    }
    child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl(JOURNAL_PROCESS, JOURNAL_PROCESS, "write", folder.constData(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    return true;
}

// How long a writer takes, on this machine and build, to confirm its first answer (a
// sanitized build starts several times slower): the kills spread over that and 60 ms of
// commits after it.
std::uint32_t killWindowMicroseconds() {
    QTemporaryDir scratch;
    const QByteArray scratchFolder = QFile::encodeName(scratch.path());
    pid_t child = 0;
    int pipeEnds[2];
    if (!startWriter(scratchFolder, child, pipeEnds)) {
        return 60000;
    }
    QElapsedTimer started;
    started.start();
    std::uint32_t number = 0;
    const bool confirmed = read(pipeEnds[0], &number, sizeof number) == sizeof number;
    const auto startUp = static_cast<std::uint32_t>(started.nsecsElapsed() / 1000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(pipeEnds[0]);
    return confirmed ? startUp + 60000 : 60000;
}

// A writer killed at any moment, while opening, creating the tables or in the middle of
// a commit, leaves a journal that opens as it is (nothing set aside) and holds every
// answer committed before the kill, with no gap.
TEST(JournalInterruption, AKilledWriterLosesNoCommittedRow) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    std::mt19937 random(20261209);
    std::uint32_t confirmed = 0;
    const std::uint32_t window = killWindowMicroseconds();
    for (int round = 0; round < 200; ++round) {
        int pipeEnds[2];
        pid_t child = 0;
        ASSERT_TRUE(startWriter(folder, child, pipeEnds));
        // Early kills catch the opening and the first steps; later ones the commits.
        usleep(static_cast<useconds_t>(random() % window));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round << " status " << status;
        std::uint32_t number = 0;
        while (read(pipeEnds[0], &number, sizeof number) == sizeof number) {
            confirmed = std::max(confirmed, number);
        }
        close(pipeEnds[0]);

        PracticeJournal journal(dir.path());
        ASSERT_TRUE(journal.open()) << "round " << round;
        const QVector<AnsweredQuestion> rows = journal.answers(1, {});
        ASSERT_GE(static_cast<std::uint32_t>(rows.size()), confirmed) << "round " << round;
        for (int i = 0; i < rows.size(); ++i) {
            ASSERT_EQ(rows[i].shown, QString::number(i + 1)) << "round " << round;
            ASSERT_EQ(rows[i].ms, i + 1);
        }
        confirmed = static_cast<std::uint32_t>(rows.size());
    }
    EXPECT_GT(confirmed, 200u);  // the writers got well past opening
    const QStringList aside =
        QDir(dir.path()).entryList({QStringLiteral("journal.sqlite.damaged*")}, QDir::Files);
    EXPECT_TRUE(aside.isEmpty()) << aside.join(u' ').toStdString();
}

}  // namespace
}  // namespace sumbrook
