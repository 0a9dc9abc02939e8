// Each answer's fact as fields: read once from the text of older journals, recorded with
// every new answer, and read back by fact for the learning rules.
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

#include "common/uniform_source.h"
#include "journal/journal_recorder.h"
#include "journal/journal_schema.h"
#include "journal/legacy_fact_text.h"
#include "journal/practice_journal.h"
#include "practice/core/clock_generator.h"
#include "practice/core/money_generator.h"
#include "practice/core/practice_observer.h"
#include "practice/core/question_generator.h"
#include "support/qstring_printer.h"
#include "support/said_messages.h"

namespace sumbrook {
namespace {

struct TextCase {
    int exercise;
    const char* shown;
    const char* expected;
    const char* key;  // nullptr: the text cannot be read as a fact of its exercise
};

// Texts as older journals hold them, with the fact each is read as.
const TextCase kTexts[] = {
    {4, "7 + 2 = □", "9", "7+2=[9]"},
    {12, "15 − 8 = □", "7", "15-8=[7]"},
    {7, "□ + 3 = 9", "6", "[6]+3=9"},
    {16, "6 + □ = 14", "8", "6+[8]=14"},
    {33, "72 − □ = 35", "37", "72-[37]=35"},
    {14, "13 - 6 =", "7", "13-6=[7]"},
    {27, "9 − 3 − 2 = □", "4", "9-3-2=[4]"},
    {35, "48 + 25 = □", "73", "48+25=[73]"},
    {36, "3点15分", "3点15分", "clock 3:15"},
    {36, "12点0分", "12点0分", "clock 12:00"},
    {37, "钱币图44：□元", "1", "money 44"},
    {4, "7 + 2 = □", "8", nullptr},       // the answer is not the sum's
    {4, "7 + 2 = 10", "10", nullptr},     // nothing left to answer
    {7, "□ + □ = 9", "4", nullptr},       // two blanks
    {5, "3 − 8 = □", "-5", nullptr},      // below zero
    {27, "9 − □ − 2 = 4", "3", nullptr},  // an expression asks its result
    {4, "3 + 4 − 2 = □", "5", nullptr},   // three numbers on the two-number screen
    {36, "13点0分", "13点0分", nullptr},  // no such hour on a face
    {37, "钱币图48：□元", "1", nullptr},  // no such picture
    {5, "hello", "1", nullptr},
    {38, "1 + 1 = □", "2", nullptr},  // no such exercise
};

TEST(LegacyFactText, ReadsEachTextAsTheFactItShowedOrNothing) {
    for (const TextCase& c : kTexts) {
        SCOPED_TRACE(c.shown);
        const auto fact = LegacyFactText::read(c.exercise, QString::fromUtf8(c.shown),
                                               QString::fromUtf8(c.expected));
        if (c.key) {
            ASSERT_TRUE(fact);
            EXPECT_EQ(fact->key(), QString::fromUtf8(c.key));
        } else {
            EXPECT_FALSE(fact) << fact->key().toStdString();
        }
    }
}

// What the practice showed of any question reads back as the fact it recorded.
TEST(LegacyFactText, ReadsEveryDrawnQuestionAsItsOwnFact) {
    SeededUniformSource source(20261210);
    for (int exercise = 1; exercise <= 37; ++exercise) {
        for (int draw = 0; draw < 60; ++draw) {
            const Question q = QuestionGenerator::generate(exercise, source);
            const auto fact =
                LegacyFactText::read(exercise, shownQuestionText(q), expectedAnswerText(q));
            ASSERT_TRUE(fact) << exercise << " " << shownQuestionText(q).toStdString();
            ASSERT_EQ(*fact, factOf(q)) << exercise << " " << shownQuestionText(q).toStdString();
        }
    }
}

TEST(JournalFacts, AnOlderJournalGivesEveryRowItsFactOnceAndKeepsTheRowsItCannotRead) {
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "version2");
        db.setDatabaseName(dir.path() + "/journal.sqlite");
        ASSERT_TRUE(db.open());
        QSqlError error;
        ASSERT_EQ(JournalSchema::migrate(db, error, 2), JournalSchema::Migration::Ready);
        QSqlQuery insert(db);
        ASSERT_TRUE(insert.prepare(
            "INSERT INTO answers (child, at_ms, day, exercise, shown, expected, typed, right, ms)"
            " VALUES (1, ?, '2026-12-01', ?, ?, ?, '0', 0, 3000)"));
        qint64 at = 1000;
        for (const TextCase& c : kTexts) {
            insert.bindValue(0, at--);  // newest first, so that the read sorts them
            insert.bindValue(1, c.exercise);
            insert.bindValue(2, QString::fromUtf8(c.shown));
            insert.bindValue(3, QString::fromUtf8(c.expected));
            ASSERT_TRUE(insert.exec());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("version2");

    testing::SaidMessages listening;
    PracticeJournal journal(dir.path());
    ASSERT_TRUE(journal.open());
    const QVector<AnsweredQuestion> rows = journal.answers(1, {});
    ASSERT_EQ(rows.size(), static_cast<qsizetype>(std::size(kTexts)));
    QStringList keys;
    int unread = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const TextCase& c = kTexts[std::size(kTexts) - 1 - static_cast<std::size_t>(i)];
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(rows[i].shown, QString::fromUtf8(c.shown));
        EXPECT_FALSE(rows[i].review);
        ASSERT_EQ(rows[i].fact.has_value(), c.key != nullptr);
        if (c.key) {
            EXPECT_EQ(rows[i].fact->key(), QString::fromUtf8(c.key));
            EXPECT_EQ(*rows[i].fact,
                      *LegacyFactText::read(c.exercise, rows[i].shown, rows[i].expected));
            keys << QString::fromUtf8(c.key);
        } else {
            ++unread;
        }
    }
    EXPECT_EQ(listening.lines().filter("could not be read as facts").size(), 1);
    EXPECT_TRUE(listening.lines().join(u'\n').contains(QString::number(unread) + " answers"));

    keys.sort();
    QStringList read;
    for (const FactAnswer& a : journal.factAnswers(1)) {
        read << a.fact.key();
    }
    EXPECT_EQ(read, keys);
}

// A practice run and a review run through the recorder, as the practice loop reports them.
class RecordedFacts : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(journal->open());
        recorder = std::make_unique<JournalRecorder>(journal, 1, [this] { return now; });
    }
    void answer(int xiangm, const Question& q, bool right, std::int64_t ms, bool review) {
        now = now.addSecs(10);
        AnswerReport report;
        report.xiangm = xiangm;
        report.shown = shownQuestionText(q);
        report.expected = expectedAnswerText(q);
        report.typed = right ? report.expected : QStringLiteral("1");
        report.right = right;
        report.ms = ms;
        report.fact = factOf(q);
        report.review = review;
        recorder->answered(report);
    }

    QTemporaryDir dir;
    std::shared_ptr<PracticeJournal> journal = std::make_shared<PracticeJournal>(dir.path());
    QDateTime now{QDate(2026, 12, 1), QTime(17, 0)};
    std::unique_ptr<JournalRecorder> recorder;
};

TEST_F(RecordedFacts, AnswersComeBackByFactThenTimeWithTheirFieldsAndReviewMark) {
    const Question sevenEight = TwoNumberQuestion{"7", "+", "8", "", BlankPosition::Result, 15};
    const Question blank = TwoNumberQuestion{"", "-", "4", "5", BlankPosition::Left, 9};
    const Question chain = ExpressionQuestion{"9 - 3 - 2", 4};
    const Question quarter = ClockGenerator::forTime(3, 15);
    const Question coins = MoneyGenerator::forPicture(44);
    const struct {
        int xiangm;
        Question q;
        bool right;
        bool review;
    } asked[] = {
        {13, sevenEight, false, false}, {36, quarter, true, false},    {7, blank, true, false},
        {27, chain, false, false},      {37, coins, false, false},     {13, sevenEight, true, true},
        {36, quarter, false, true},     {11, sevenEight, true, false},
    };
    recorder->runStarted(13);
    std::int64_t ms = 1000;
    for (const auto& a : asked) {
        answer(a.xiangm, a.q, a.right, ms += 100, a.review);
    }
    journal->waitForWrites();

    const QVector<FactAnswer> read = journal->factAnswers(1);
    ASSERT_EQ(read.size(), static_cast<qsizetype>(std::size(asked)));
    for (qsizetype i = 1; i < read.size(); ++i) {
        const auto order = [](const FactAnswer& a) { return std::pair(a.fact.key(), a.atMs); };
        EXPECT_LT(order(read[i - 1]), order(read[i]));
    }
    // Each answer found by its time, with everything it was recorded with.
    for (std::size_t i = 0; i < std::size(asked); ++i) {
        const QDateTime at = QDateTime(QDate(2026, 12, 1), QTime(17, 0)).addSecs(10 * (i + 1));
        const auto found = std::find_if(read.begin(), read.end(), [&](const FactAnswer& a) {
            return a.atMs == at.toMSecsSinceEpoch();
        });
        ASSERT_NE(found, read.end());
        SCOPED_TRACE(found->fact.key().toStdString());
        EXPECT_EQ(found->fact, factOf(asked[i].q));
        EXPECT_EQ(found->exercise, asked[i].xiangm);
        EXPECT_EQ(found->expected, expectedAnswerText(asked[i].q));
        EXPECT_EQ(found->right, asked[i].right);
        EXPECT_EQ(found->review, asked[i].review);
        EXPECT_EQ(found->ms, 1100 + 100 * static_cast<std::int64_t>(i));
        EXPECT_EQ(found->day, QDate(2026, 12, 1));
    }
    // 7 + 8 missed in exercise 13 and met again in 11 and in review is one missed fact.
    const QVector<MissedFact> missed = journal->missedFacts(1, {}, 10);
    const auto sevenEightMissed = std::find_if(missed.begin(), missed.end(), [&](const auto& f) {
        return f.fact && *f.fact == factOf(sevenEight);
    });
    ASSERT_NE(sevenEightMissed, missed.end());
    EXPECT_EQ(sevenEightMissed->asked, 3);
    EXPECT_EQ(sevenEightMissed->missed, 1);
}

TEST_F(RecordedFacts, AReviewRunIsNoExercisesBestTimeNorItsRun) {
    recorder->runStarted(4);
    recorder->completed(4, 90000);
    recorder->runEnded(4);
    recorder->reviewStarted();
    answer(4, TwoNumberQuestion{"3", "+", "4", "", BlankPosition::Result, 7}, true, 2000, true);
    recorder->reviewCompleted(30000);
    recorder->reviewEnded();
    journal->waitForWrites();

    const QVector<ExerciseTally> tallies = journal->exerciseTallies(1, {});
    ASSERT_EQ(tallies.size(), 37);
    for (const ExerciseTally& t : tallies) {
        SCOPED_TRACE(t.exercise);
        EXPECT_EQ(t.bestMs, t.exercise == 4 ? std::optional<std::int64_t>(90000) : std::nullopt);
        EXPECT_EQ(t.tried, t.exercise == 4 ? 1 : 0);  // the review's answer is exercise 4's
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "runs");
    {
        db.setDatabaseName(journal->filePath());
        ASSERT_TRUE(db.open());
        QSqlQuery runs(db);
        ASSERT_TRUE(runs.exec("SELECT exercise, event, ms FROM runs ORDER BY id"));
        QStringList events;
        while (runs.next()) {
            events << QStringLiteral("%1 %2 %3")
                          .arg(runs.value(0).toInt())
                          .arg(runs.value(1).toString())
                          .arg(runs.value(2).toString());
        }
        EXPECT_EQ(events, QStringList({"4 start ", "4 completion 90000", "4 end ", "0 start ",
                                       "0 completion 30000", "0 end "}));
        db.close();
    }
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("runs");
}

}  // namespace
}  // namespace sumbrook
