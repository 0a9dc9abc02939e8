#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <random>

#include "journal/practice_journal.h"

namespace sumbrook {
namespace {

// A writer killed at any moment, while opening, creating the tables or in the middle of
// a commit, leaves a journal that opens as it is (nothing set aside) and holds every
// answer committed before the kill, with no gap.
TEST(JournalInterruption, AKilledWriterLosesNoCommittedRow) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    std::mt19937 random(20261209);
    std::uint32_t confirmed = 0;
    for (int round = 0; round < 200; ++round) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
            execl(JOURNAL_KILL_WRITER, JOURNAL_KILL_WRITER, folder.constData(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        // Early kills catch the opening and the first steps; later ones the commits.
        usleep(static_cast<useconds_t>(random() % 60000));
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
