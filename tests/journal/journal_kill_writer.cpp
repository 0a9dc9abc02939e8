// Records numbered answers into the journal in the folder it is given, one committed
// transaction at a time, and after each commit writes the answer's number (4 bytes) to
// its standard output, until it is killed. Numbers go on from those already recorded.
#include <unistd.h>
#include <QCoreApplication>
#include <cstdint>

#include "journal/practice_journal.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    sumbrook::PracticeJournal journal(QString::fromLocal8Bit(argv[1]));
    if (!journal.open()) {
        return 1;
    }
    std::uint32_t next = static_cast<std::uint32_t>(journal.answers(1, {}).size()) + 1;
    const QDateTime start = QDateTime::currentDateTime();
    for (;; ++next) {
        sumbrook::AnsweredQuestion answer;
        answer.at = start.addMSecs(next);
        answer.childId = 1;
        answer.exercise = 1 + static_cast<int>(next % 37);
        answer.shown = QString::number(next);
        answer.expected = QStringLiteral("%1").arg(next % 20);
        answer.typed = answer.expected;
        answer.right = next % 3 != 0;
        answer.ms = next;
        if (next % 7 == 0) {
            journal.recordRunStart(1, answer.exercise, answer.at);
        }
        journal.recordAnswer(answer);
        journal.waitForWrites();
        if (write(STDOUT_FILENO, &next, sizeof next) != sizeof next) {
            return 1;
        }
    }
}
