// Fills the journal in DIR with DAYS days of generated practice of the chosen child,
// QUESTIONS_PER_DAY a day, ending now; for screenshots and trying the window by hand.
#include <QCoreApplication>
#include <cstdio>

#include "support/sample_journal.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: sample_journal_writer DIR DAYS QUESTIONS_PER_DAY\n");
        return 2;
    }
    sumbrook::PracticeJournal journal(QString::fromLocal8Bit(argv[1]));
    if (!journal.open()) {
        std::fprintf(stderr, "the journal cannot be opened\n");
        return 1;
    }
    sumbrook::testing::fillSampleJournal(journal, journal.currentChildId(), std::atoi(argv[2]),
                                         std::atoi(argv[3]), 20261209,
                                         QDateTime::currentDateTime());
    journal.waitForWrites();
    return 0;
}
