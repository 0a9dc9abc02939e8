#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include "journal/journal_recorder.h"
#include "journal/practice_journal.h"
#include "practice/core/practice_loop.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

// The practice loop of one child, as the program builds it: that child's store, and the
// journal told of everything through a recorder whose wall clock follows the loop's.
class JournalledPractice {
  public:
    JournalledPractice(std::shared_ptr<PracticeJournal> journal, int child, std::uint64_t seed)
        : store(journal->storeDirectory(child)),
          records(store),
          source(seed),
          recorder(journal, child, [this] { return kStart.addMSecs(clock.now); }),
          loop(records, clock, source, channel) {
        loop.setObserver(&recorder);
        loop.start();
        for (int i = 0; i < PracticeLoop::kIntroSteps; ++i) {
            loop.step();
        }
    }

    // One answer after `ms`, right or wrong; returns the question's text as shown.
    QString answer(bool right, std::int64_t ms) {
        const Question question = *loop.question();
        clock.advance(ms);
        QString typed;
        if (const auto* c = std::get_if<ClockQuestion>(&question)) {
            type(c->deshu);
            loop.confirm();
            type(right ? c->deshu0 : c->deshu0 + 1);
        } else {
            type(expectedAnswer(question) + (right ? 0 : 1));
        }
        loop.confirm();
        return shownQuestionText(question);
    }
    void type(int number) {
        for (const QChar c : QString::number(number)) {
            loop.typeDigit(c.unicode() - u'0');
        }
    }

    static inline const QDateTime kStart{QDate(2026, 11, 20), QTime(18, 0)};

    ProgressStore store;
    ProgressRecords records;
    testing::ManualClock clock;
    SeededUniformSource source;
    testing::FakeSoundChannel channel;
    JournalRecorder recorder;
    PracticeLoop loop;
};

TEST(JournalledPractice, AWholeExerciseLeavesItsRowsInTheJournal) {
    QTemporaryDir dir;
    auto journal = std::make_shared<PracticeJournal>(dir.path());
    ASSERT_TRUE(journal->open());
    JournalledPractice practice(journal, 1, 9);
    PracticeLoop& loop = practice.loop;
    loop.chooseSelfMode();
    loop.chooseExercise(12);

    struct Expected {
        QString shown;
        bool right;
        std::int64_t ms;
    };
    std::vector<Expected> asked;
    // Two wrong answers early, then right ones to the end: 22 right in all.
    for (int i = 0; loop.screen() != Screen::Fen100; ++i) {
        const bool right = i != 1 && i != 3;
        const std::int64_t ms = 1000 + 250 * i;
        asked.push_back({practice.answer(right, ms), right, ms});
        if (loop.screen() != Screen::Fen100) {
            practice.clock.advance(800);  // the answer screen, then "下一题"
            loop.nextQuestion();
        }
    }
    const std::int64_t completion = loop.completionMs();
    loop.confirm();  // back to menu page 1
    journal->waitForWrites();

    const QVector<AnsweredQuestion> rows = journal->answers(1, {});
    ASSERT_EQ(rows.size(), static_cast<int>(asked.size()));
    ASSERT_EQ(rows.size(), loop.tishu());
    for (int i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].exercise, 12);
        EXPECT_EQ(rows[i].shown, asked[i].shown);
        EXPECT_EQ(rows[i].right, asked[i].right);
        EXPECT_EQ(rows[i].ms, asked[i].ms);
        EXPECT_EQ(rows[i].right, rows[i].typed == rows[i].expected);
        EXPECT_TRUE(rows[i].shown.contains(u'□'));
    }
    const ExerciseTally tally = journal->exerciseTallies(1, {})[11];
    EXPECT_EQ(tally.tried, loop.tishu());
    EXPECT_EQ(tally.right, loop.tishudui());
    EXPECT_EQ(tally.bestMs, completion);
    EXPECT_EQ(tally.lastPractised, rows.back().at);
    EXPECT_EQ(journal->missedFacts(1, {}, 10).size(), 2);
    const QVector<DayTally> days = journal->dailyTallies(1, {});
    ASSERT_EQ(days.size(), 1);
    EXPECT_EQ(days[0].day, JournalledPractice::kStart.date());
    EXPECT_EQ(days[0].asked, loop.tishu());
}

TEST(JournalledPractice, ADamagedJournalIsSetAsideAndPracticeGoesOn) {
    QTemporaryDir dir;
    {
        QFile file(dir.path() + "/journal.sqlite");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, '\xff'));
    }
    auto journal = std::make_shared<PracticeJournal>(dir.path());
    ASSERT_TRUE(journal->open());
    JournalledPractice practice(journal, journal->currentChildId(), 4);
    practice.loop.chooseSelfMode();
    practice.loop.chooseExercise(2);
    practice.answer(true, 1500);
    practice.loop.nextQuestion();
    practice.answer(false, 2500);
    EXPECT_EQ(practice.loop.tishu(), 2);
    journal->waitForWrites();
    EXPECT_EQ(journal->answers(1, {}).size(), 2);
}

TEST(JournalledPractice, ASecondChildPractisesIntoItsOwnStoreAndRows) {
    QTemporaryDir dir;
    auto journal = std::make_shared<PracticeJournal>(dir.path());
    ASSERT_TRUE(journal->open());
    {
        JournalledPractice first(journal, 1, 1);
        first.loop.chooseSelfMode();
        first.loop.chooseExercise(1);
        first.answer(true, 1000);
        first.loop.back();
        first.records.flush();
    }
    QFile firstStore(dir.path() + "/shuxue.json");
    ASSERT_TRUE(firstStore.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = firstStore.readAll();
    firstStore.close();

    const int second = journal->addChild(QStringLiteral("二宝"));
    ASSERT_TRUE(journal->chooseChild(second));
    {
        JournalledPractice practice(journal, journal->currentChildId(), 2);
        PracticeLoop& loop = practice.loop;
        loop.chooseSelfMode();
        loop.chooseExercise(5);
        while (loop.screen() != Screen::Fen100) {
            practice.answer(true, 900);
            if (loop.screen() != Screen::Fen100) {
                loop.nextQuestion();
            }
        }
        loop.confirm();
        practice.records.flush();
    }
    journal->waitForWrites();

    ASSERT_TRUE(firstStore.open(QIODevice::ReadOnly));
    EXPECT_EQ(firstStore.readAll(), firstBytes);  // the first child's store untouched
    ProgressStore secondStore(journal->storeDirectory(second));
    ProgressRecords secondRecords(secondStore);
    secondRecords.load();
    EXPECT_EQ(secondRecords.tishuLs(), 20);
    EXPECT_LT(secondRecords.bestTime(5), ProgressRecords::kNoBestTime);

    EXPECT_EQ(journal->answers(1, {}).size(), 1);
    EXPECT_EQ(journal->answers(second, {}).size(), 20);
    EXPECT_EQ(journal->exerciseTallies(1, {})[4].tried, 0);
    EXPECT_FALSE(journal->exerciseTallies(1, {})[4].bestMs.has_value());
    EXPECT_EQ(journal->exerciseTallies(second, {})[4].tried, 20);
}

}  // namespace
}  // namespace sumbrook
