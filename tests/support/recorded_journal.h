#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>

#include "journal/legacy_fact_text.h"
#include "journal/practice_journal.h"
#include "parent/practice_journal_queries.h"

namespace sumbrook::testing {

// A practice journal of its own in a temporary folder, for the tests of what the parent's
// window reads: answers and completions go in through the journal's recording calls, as
// the practice records them, and are committed once the test calls waitForWrites(). Each
// answer's fact is the one an upgraded journal reads from its text. It records only what
// it is told; sample_journal.h makes practice up.
struct RecordedJournal {
    RecordedJournal() { opened = journal.open(); }

    void answer(int child, int exercise, const QDateTime& at, const QString& shown,
                const QString& expected, bool right, std::int64_t ms) {
        typed(child, exercise, at, shown, expected,
              right ? expected : expected + QStringLiteral("0"), ms);
    }
    // An answer as the child typed it, right when it is the expected one.
    void typed(int child, int exercise, const QDateTime& at, const QString& shown,
               const QString& expected, const QString& entry, std::int64_t ms = 5000) {
        journal.recordAnswer({at, child, exercise, shown, expected, entry, entry == expected, ms,
                              LegacyFactText::read(exercise, shown, expected), false});
    }
    void completion(int child, int exercise, std::int64_t ms, const QDateTime& at) {
        journal.recordCompletion(child, exercise, ms, at);
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    PracticeJournal journal{dir.path()};
    PracticeJournalQueries queries{journal};
    bool opened = false;
};

}  // namespace sumbrook::testing
