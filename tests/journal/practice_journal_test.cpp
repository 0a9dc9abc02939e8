#include "journal/practice_journal.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include "journal/csv_writer.h"
#include "journal/journal_schema.h"
#include "support/qstring_printer.h"
#include "support/rename_journal_table.h"
#include "support/said_messages.h"
#include "support/sample_journal.h"

namespace sumbrook {
namespace {

const QDateTime kMonday(QDate(2026, 11, 2), QTime(17, 0));

QStringList& said = testing::SaidMessages::lines();
using Listening = testing::SaidMessages;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

AnsweredQuestion answer(int child, int exercise, const QString& shown, const QString& expected,
                        const QString& typed, std::int64_t ms, const QDateTime& at) {
    return {at, child, exercise, shown, expected, typed, typed == expected, ms, {}, false};
}

class PracticeJournalTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(journal.open()); }
    void record(const AnsweredQuestion& a) { journal.recordAnswer(a); }

    QTemporaryDir dir;
    PracticeJournal journal{dir.path()};
};

TEST_F(PracticeJournalTest, AFreshJournalHasTheFirstChildOwningTheOldStore) {
    const QVector<Child> children = journal.children();
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children[0].id, 1);
    EXPECT_EQ(children[0].name, "宝贝");
    EXPECT_EQ(journal.currentChildId(), 1);
    EXPECT_EQ(journal.storeDirectory(1), dir.path());
    EXPECT_EQ(journal.storeDirectory(2), dir.path() + "/children/2");
    EXPECT_EQ(journal.filePath(), dir.path() + "/journal.sqlite");
    EXPECT_EQ(journal.exerciseTallies(1, {}).size(), 37);
    EXPECT_TRUE(journal.dailyTallies(1, {}).isEmpty());
    EXPECT_TRUE(journal.missedFacts(1, {}, 10).isEmpty());
}

TEST_F(PracticeJournalTest, ChildrenAreAddedRenamedAndChosenAndKeptAcrossStarts) {
    EXPECT_EQ(journal.addChild(QStringLiteral("  小明 ")), 2);
    EXPECT_EQ(journal.addChild(QStringLiteral("   ")), 0);
    EXPECT_EQ(journal.addChild(QStringLiteral("小红")), 3);
    struct Rename {
        int id;
        const char* name;
        bool done;
    };
    for (const Rename& r : {Rename{2, "明明", true}, Rename{9, "无人", false},
                            Rename{3, " ", false}, Rename{1, "大宝", true}}) {
        EXPECT_EQ(journal.renameChild(r.id, QString::fromUtf8(r.name)), r.done) << r.id;
    }
    EXPECT_FALSE(journal.chooseChild(9));
    EXPECT_EQ(journal.currentChildId(), 1);
    EXPECT_TRUE(journal.chooseChild(2));

    PracticeJournal again(dir.path());
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.currentChildId(), 2);
    const QVector<Child> children = again.children();
    ASSERT_EQ(children.size(), 3);
    EXPECT_EQ(children[0].name, "大宝");
    EXPECT_EQ(children[1].name, "明明");
    EXPECT_EQ(children[2].name, "小红");
}

TEST_F(PracticeJournalTest, NoTwoChildrenShareANameSpacesAroundItAside) {
    ASSERT_EQ(journal.addChild(QStringLiteral("小明")), 2);
    ASSERT_EQ(journal.addChild(QStringLiteral("小红")), 3);
    struct Row {
        const char* what;
        int renamed;  // 0: added
        const char* name;
        bool done;
    };
    const Row rows[] = {
        {"with spaces around it", 0, " \t小明  ", false},
        {"the first child's", 0, "宝贝 ", false},
        {"spaces within make another name", 0, "小 明", true},
        {"renamed to another's with spaces", 3, "\n小明 ", false},
        {"renamed to its own", 2, " 小明", true},
        {"renamed to a free one", 3, "红红", true},
        {"the freed name", 0, "小红", true},
    };
    for (const Row& row : rows) {
        const QString name = QString::fromUtf8(row.name);
        const bool done =
            row.renamed == 0 ? journal.addChild(name) > 0 : journal.renameChild(row.renamed, name);
        EXPECT_EQ(done, row.done) << row.what;
    }
    QStringList names;
    for (const Child& c : journal.children()) {
        names << c.name;
    }
    EXPECT_EQ(names, QStringList({"宝贝", "小明", "红红", "小 明", "小红"}));
}

TEST_F(PracticeJournalTest, ANewChildNeverTakesOverAStoreFolderLeftOnDisk) {
    // A journal started afresh forgets its children; their stores stay where they were.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("children/5")));
    EXPECT_EQ(journal.addChild(QStringLiteral("新来的")), 6);
}

TEST_F(PracticeJournalTest, TalliesPerDayAndPerExercise) {
    const QDateTime tuesday = kMonday.addDays(1);
    record(answer(1, 3, "2 + 3 = □", "5", "5", 4000, kMonday));
    record(answer(1, 3, "4 + 1 = □", "5", "6", 9000, kMonday.addSecs(10)));
    record(answer(1, 3, "1 + 1 = □", "2", "2", 2000, kMonday.addSecs(20)));
    record(answer(1, 7, "9 − 4 = □", "5", "5", 3000, tuesday));
    record(answer(1, 7, "8 − 4 = □", "4", "4", 5000, tuesday.addSecs(5)));
    record(answer(1, 3, "3 + 3 = □", "6", "6", 1000, tuesday.addSecs(9)));
    journal.recordCompletion(1, 3, 95000, tuesday.addSecs(30));
    journal.recordCompletion(1, 3, 80000, tuesday.addSecs(60));
    journal.recordCompletion(1, 7, 70000, kMonday.addDays(8));  // outside the week below
    journal.waitForWrites();

    const QVector<DayTally> days = journal.dailyTallies(1, {});
    ASSERT_EQ(days.size(), 2);
    EXPECT_EQ(days[0].day, kMonday.date());
    EXPECT_EQ(days[0].asked, 3);
    EXPECT_EQ(days[0].right, 2);
    EXPECT_EQ(days[1].day, tuesday.date());
    EXPECT_EQ(days[1].asked, 3);
    EXPECT_EQ(days[1].right, 3);

    const JournalSpan week{QDateTime(kMonday.date(), QTime(0, 0)),
                           QDateTime(kMonday.date().addDays(7), QTime(0, 0))};
    const QVector<ExerciseTally> tallies = journal.exerciseTallies(1, week);
    ASSERT_EQ(tallies.size(), 37);
    for (int i = 0; i < 37; ++i) {
        EXPECT_EQ(tallies[i].exercise, i + 1);
    }
    const ExerciseTally& three = tallies[2];
    EXPECT_EQ(three.tried, 4);
    EXPECT_EQ(three.right, 3);
    EXPECT_EQ(three.medianMs, 3000);  // 1000 2000 | 4000 9000
    EXPECT_EQ(three.bestMs, 80000);
    EXPECT_EQ(three.lastPractised, tuesday.addSecs(9));
    const ExerciseTally& seven = tallies[6];
    EXPECT_EQ(seven.tried, 2);
    EXPECT_EQ(seven.medianMs, 4000);
    EXPECT_FALSE(seven.bestMs.has_value());  // its completion falls after the week
    EXPECT_EQ(journal.exerciseTallies(1, {})[6].bestMs, 70000);
    EXPECT_EQ(tallies[0].tried, 0);
    EXPECT_FALSE(tallies[0].lastPractised.isValid());

    // A span is [from, to): Tuesday alone.
    const JournalSpan tuesdayOnly{QDateTime(tuesday.date(), QTime(0, 0)), tuesday.addSecs(9)};
    const QVector<AnswerTimePoint> times = journal.answerTimes(1, 3, tuesdayOnly);
    EXPECT_TRUE(times.isEmpty());
    const QVector<AnswerTimePoint> all = journal.answerTimes(1, 3, {QDateTime(), tuesday});
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[1].ms, 9000);
    EXPECT_FALSE(all[1].right);
    EXPECT_EQ(all[2].at, kMonday.addSecs(20));
    EXPECT_EQ(journal.answers(1, tuesdayOnly).size(), 2);
    EXPECT_EQ(journal.exerciseTallies(1, {QDateTime(), QDateTime()})[2].tried, 4);
}

TEST_F(PracticeJournalTest, MissedFactsComeMostOftenAndMostRecentlyMissedFirst) {
    const QDateTime today = kMonday.addDays(30);
    struct Row {
        const char* shown;
        const char* expected;
        const char* typed;
        int daysAgo;
        int times;
    };
    const Row rows[] = {
        {"7 + 8 = □", "15", "14", 30, 3},  // three misses, a month ago: 3 × 2^(−30/14) ≈ 0.7
        {"7 + 8 = □", "15", "15", 30, 2},  // asked and right as well
        {"13 − 6 = □", "7", "8", 0, 1},    // one miss today
        {"9 + 6 = □", "15", "16", 1, 2},   // two misses yesterday
        {"5 + 5 = □", "10", "10", 0, 4},   // never missed
    };
    for (const Row& r : rows) {
        for (int i = 0; i < r.times; ++i) {
            record(answer(1, 9, r.shown, r.expected, r.typed, 3000,
                          today.addDays(-r.daysAgo).addSecs(i)));
        }
    }
    journal.waitForWrites();

    const QVector<MissedFact> facts = journal.missedFacts(1, {}, 10);
    ASSERT_EQ(facts.size(), 3);
    EXPECT_EQ(facts[0].shown, "9 + 6 = □");
    EXPECT_EQ(facts[0].missed, 2);
    EXPECT_EQ(facts[0].asked, 2);
    EXPECT_EQ(facts[1].shown, "13 − 6 = □");
    EXPECT_EQ(facts[1].lastMissed, today);
    EXPECT_EQ(facts[2].shown, "7 + 8 = □");
    EXPECT_EQ(facts[2].expected, "15");
    EXPECT_EQ(facts[2].missed, 3);
    EXPECT_EQ(facts[2].asked, 5);
    EXPECT_EQ(facts[2].exercise, 9);

    EXPECT_EQ(journal.missedFacts(1, {}, 1).size(), 1);
    EXPECT_TRUE(journal.missedFacts(1, {}, 0).isEmpty());
    // Within the last week only the recent ones.
    const QVector<MissedFact> week = journal.missedFacts(1, {today.addDays(-7), QDateTime()}, 10);
    ASSERT_EQ(week.size(), 2);
    EXPECT_EQ(week[0].shown, "9 + 6 = □");
}

// Each query as the parent's window and the commands ask it, with how much it read (rows,
// or the child it names) from a journal where a second child, chosen, answered once and
// completed once.
struct ReadCase {
    const char* query;
    std::function<int(const PracticeJournal&)> read;
    int whenRead;
    int whenUnread;     // what it answers when it cannot read
    const char* table;  // the first table it reads
};

TEST_F(PracticeJournalTest, AQueryThatCannotReadSaysWhyOnceAndAnswersAgainWhenItCan) {
    ASSERT_EQ(journal.addChild(QStringLiteral("二宝")), 2);
    ASSERT_TRUE(journal.chooseChild(2));
    record(answer(2, 3, "2 + 3 = □", "5", "6", 4000, kMonday));
    journal.recordCompletion(2, 3, 80000, kMonday.addSecs(60));
    journal.waitForWrites();
    using J = const PracticeJournal&;
    const ReadCase cases[] = {
        {"children", [](J j) { return int(j.children().size()); }, 2, 1, "children"},
        {"currentChildId", [](J j) { return j.currentChildId(); }, 2, 1, "children"},
        {"dailyTallies", [](J j) { return int(j.dailyTallies(2, {}).size()); }, 1, 0, "answers"},
        {"answerTimes", [](J j) { return int(j.answerTimes(2, 3, {}).size()); }, 1, 0, "answers"},
        {"exerciseTallies",
         [](J j) {
             const ExerciseTally t = j.exerciseTallies(2, {}).value(2);
             return t.tried + int(t.bestMs.has_value());
         },
         2, 0, "answers"},
        {"missedFacts", [](J j) { return int(j.missedFacts(2, {}, 9).size()); }, 1, 0, "answers"},
        {"answers", [](J j) { return int(j.answers(2, {}).size()); }, 1, 0, "answers"},
    };
    const QString path = journal.filePath();
    const auto failure = [&](const char* table) {
        return QStringLiteral("读取练习记录失败：%1（no such table: %2）").arg(path, table);
    };
    {
        const Listening listening;
        ASSERT_EQ(testing::renameJournalTable(path, "children", "children_kept"), "");
        ASSERT_EQ(testing::renameJournalTable(path, "answers", "answers_kept"), "");
        for (int round = 0; round < 2; ++round) {
            for (const ReadCase& c : cases) {
                SCOPED_TRACE(c.query);
                EXPECT_EQ(c.read(journal), c.whenUnread);
                EXPECT_EQ(journal.readError(), failure(c.table));
            }
        }
        // Each failure said once, however often it is met.
        ASSERT_EQ(said.size(), 2) << said.join(u'\n').toStdString();
        for (const QString& line : said) {
            EXPECT_TRUE(line.startsWith("sumbrook.journal: ")) << line.toStdString();
            EXPECT_TRUE(line.contains(path)) << line.toStdString();
        }
    }
    ASSERT_EQ(testing::renameJournalTable(path, "children_kept", "children"), "");
    ASSERT_EQ(testing::renameJournalTable(path, "answers_kept", "answers"), "");
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.query);
        // A failure before, of the last of exerciseTallies' reads, is forgotten once it reads.
        ASSERT_EQ(testing::renameJournalTable(path, "runs", "runs_kept"), "");
        EXPECT_EQ(journal.exerciseTallies(2, {}).value(2).tried, 0);
        EXPECT_EQ(journal.readError(), failure("runs"));
        ASSERT_EQ(testing::renameJournalTable(path, "runs_kept", "runs"), "");
        EXPECT_EQ(c.read(journal), c.whenRead);
        EXPECT_EQ(journal.readError(), "");
    }
}

// Two children's practice in one journal answers exactly as each child's practice alone.
TEST(PracticeJournalChildren, ASecondChildsPracticeNeverAppearsInTheFirstsQueries) {
    QTemporaryDir shared;
    QTemporaryDir alone;
    PracticeJournal family(shared.path());
    PracticeJournal single(alone.path());
    ASSERT_TRUE(family.open());
    ASSERT_TRUE(single.open());
    const int second = family.addChild(QStringLiteral("二宝"));
    ASSERT_EQ(second, 2);
    const QDateTime end(QDate(2026, 12, 1), QTime(19, 0));
    testing::fillSampleJournal(family, 1, 20, 30, 1, end);
    testing::fillSampleJournal(family, second, 20, 45, 2, end);
    testing::fillSampleJournal(single, 1, 20, 30, 1, end);
    family.waitForWrites();
    single.waitForWrites();

    const JournalSpan all;
    const QVector<AnsweredQuestion> mine = family.answers(1, all);
    ASSERT_EQ(mine.size(), 20 * 30);
    ASSERT_EQ(family.answers(second, all).size(), 20 * 45);
    const QVector<AnsweredQuestion> expected = single.answers(1, all);
    ASSERT_EQ(mine.size(), expected.size());
    for (int i = 0; i < mine.size(); ++i) {
        EXPECT_EQ(mine[i].shown, expected[i].shown);
        EXPECT_EQ(mine[i].at, expected[i].at);
        EXPECT_EQ(mine[i].childId, 1);
    }
    const QVector<DayTally> days = family.dailyTallies(1, all);
    const QVector<DayTally> daysAlone = single.dailyTallies(1, all);
    ASSERT_EQ(days.size(), daysAlone.size());
    for (int i = 0; i < days.size(); ++i) {
        EXPECT_EQ(days[i].asked, daysAlone[i].asked);
        EXPECT_EQ(days[i].right, daysAlone[i].right);
    }
    const QVector<ExerciseTally> tallies = family.exerciseTallies(1, all);
    const QVector<ExerciseTally> talliesAlone = single.exerciseTallies(1, all);
    for (int i = 0; i < 37; ++i) {
        EXPECT_EQ(tallies[i].tried, talliesAlone[i].tried) << i + 1;
        EXPECT_EQ(tallies[i].medianMs, talliesAlone[i].medianMs) << i + 1;
        EXPECT_EQ(tallies[i].bestMs, talliesAlone[i].bestMs) << i + 1;
    }
    const QVector<MissedFact> facts = family.missedFacts(1, all, 50);
    const QVector<MissedFact> factsAlone = single.missedFacts(1, all, 50);
    ASSERT_EQ(facts.size(), factsAlone.size());
    ASSERT_FALSE(facts.isEmpty());
    for (int i = 0; i < facts.size(); ++i) {
        EXPECT_EQ(facts[i].shown, factsAlone[i].shown);
        EXPECT_EQ(facts[i].asked, factsAlone[i].asked);
        EXPECT_EQ(facts[i].missed, factsAlone[i].missed);
    }
    EXPECT_EQ(family.answerTimes(1, 3, all).size(), single.answerTimes(1, 3, all).size());
    EXPECT_NE(family.storeDirectory(1), family.storeDirectory(second));
}

TEST(CsvWriter, FieldsAreQuotedOnlyWhereASpreadsheetNeedsIt) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"7 + 8 = □", "7 + 8 = □"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {" padded", "\" padded\""},
        {"=SUM(A1)", "'=SUM(A1)"},
        {"+1", "'+1"},
        {"@x,y", "\"'@x,y\""},
        // Spreadsheets look past leading blanks and control characters for a formula.
        {" =1+1", "' =1+1"},
        {"\t=cmd|' /C calc'!A0", "'\t=cmd|' /C calc'!A0"},
        {"\r\n+1", "\"'\r\n+1\""},
        {"\x01\x1f-2", "'\x01\x1f-2"},
        {"  @SUM(A1)", "'  @SUM(A1)"},
        {"\u3000=1", "'\u3000=1"},
        {" 5-3", "\" 5-3\""},  // a sign further in is no formula
        {"\t", "\"\t\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvWriter::field(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    }
    EXPECT_EQ(CsvWriter::row({"a", "b,c", ""}), "a,\"b,c\",\r\n");
}

TEST_F(PracticeJournalTest, TheCsvHoldsOneRowPerAnswerAfterAByteOrderMarkAndAHeader) {
    ASSERT_TRUE(journal.renameChild(1, QStringLiteral("小明, \"明明\"")));
    record(answer(1, 36, "3点15分", "3点15分", "3点0分", 7000, kMonday));
    record(answer(1, 3, "2 + 3 = □", "5", "5", 4000, kMonday.addSecs(9)));
    record(answer(2, 3, "9 + 9 = □", "18", "18", 4000, kMonday.addSecs(5)));  // someone else
    journal.waitForWrites();
    const QString path = dir.path() + "/out.csv";
    ASSERT_TRUE(journal.exportCsv(1, path));
    const QByteArray bytes = readAll(path);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);  // header, two rows, and the empty rest after the last CRLF
    EXPECT_EQ(lines[0], "时间,孩子,练习,练习名称,题目,正确答案,孩子的答案,对错,用时（毫秒）");
    EXPECT_TRUE(lines[1].startsWith("2026-11-02 17:00:00,\"小明, \"\"明明\"\"\",36,"));
    EXPECT_TRUE(lines[1].endsWith(",3点15分,3点15分,3点0分,错,7000"));
    EXPECT_TRUE(lines[2].endsWith(",2 + 3 = □,5,5,对,4000"));
    EXPECT_TRUE(lines[3].isEmpty());
    EXPECT_FALSE(journal.exportCsv(1, dir.path() + "/no/such/folder/out.csv"));
}

// What a damaged journal looks like, and how it is found.
struct DamageCase {
    const char* label;
    std::function<void(const QString& path)> damage;
};

class DamagedJournalTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedJournalTest, IsSetAsideAndAFreshJournalStarted) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/journal.sqlite";
    {
        PracticeJournal before(dir.path());
        ASSERT_TRUE(before.open());
        before.addChild(QStringLiteral("二宝"));
        testing::fillSampleJournal(before, 1, 30, 40, 3, kMonday);
    }
    GetParam().damage(path);
    const QByteArray damagedBytes = readAll(path);

    PracticeJournal journal(dir.path());
    {
        const Listening listening;
        ASSERT_TRUE(journal.open());
        ASSERT_EQ(said.size(), 1) << said.join(u'\n').toStdString();
        EXPECT_TRUE(said.front().startsWith("sumbrook.journal: ")) << said.front().toStdString();
        // One line, however many pages SQLite finds at fault.
        EXPECT_FALSE(said.front().contains(u'\n')) << said.front().toStdString();
        EXPECT_LT(said.front().size(), 500);
    }
    const QStringList aside =
        QDir(dir.path()).entryList({QStringLiteral("journal.sqlite.damaged-*")}, QDir::Files);
    ASSERT_FALSE(aside.isEmpty());
    EXPECT_EQ(readAll(dir.path() + u'/' + aside.filter(QRegularExpression("\\d$")).value(0)),
              damagedBytes);
    EXPECT_EQ(journal.children().size(), 1);
    EXPECT_TRUE(journal.answers(1, {}).isEmpty());
    journal.recordAnswer(answer(1, 3, "2 + 3 = □", "5", "5", 4000, kMonday));
    journal.waitForWrites();
    EXPECT_EQ(journal.answers(1, {}).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedJournalTest,
    ::testing::Values(DamageCase{"NotADatabase",
                                 [](const QString& path) {
                                     QFile::remove(path + "-wal");
                                     QFile::remove(path + "-shm");
                                     writeBytes(path,
                                                QByteArray("this is no journal\n").repeated(300));
                                 }},
                      DamageCase{"PagesOverwritten",
                                 [](const QString& path) {
                                     QFile::remove(path + "-wal");
                                     QFile::remove(path + "-shm");
                                     QFile file(path);
                                     ASSERT_TRUE(file.open(QIODevice::ReadWrite));
                                     // Keep the header and the first page; scribble over the
                                     // tables.
                                     file.seek(4096 + 100);
                                     file.write(QByteArray(file.size() - 4096 - 200, '\x5a'));
                                 }}),
    [](const ::testing::TestParamInfo<DamageCase>& row) { return std::string(row.param.label); });

TEST(PracticeJournalOpening, AnOlderJournalTakesTheStepsItLacksAndKeepsItsRows) {
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "older");
        db.setDatabaseName(dir.path() + "/journal.sqlite");
        ASSERT_TRUE(db.open());
        QSqlError error;
        ASSERT_EQ(JournalSchema::migrate(db, error, 1), JournalSchema::Migration::Ready);
        EXPECT_EQ(JournalSchema::version(db), 1);
        QSqlQuery q(db);
        ASSERT_TRUE(
            q.exec("INSERT INTO answers (child, at_ms, day, exercise, shown, expected,"
                   " typed, right, ms) VALUES (1, 1000, '1970-01-01', 4, '1 + 1 = □',"
                   " '2', '3', 0, 2500)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("older");
    PracticeJournal journal(dir.path());
    ASSERT_TRUE(journal.open());
    const QVector<MissedFact> facts = journal.missedFacts(1, {}, 5);
    ASSERT_EQ(facts.size(), 1);
    EXPECT_EQ(facts[0].shown, "1 + 1 = □");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
        db.setDatabaseName(dir.path() + "/journal.sqlite");
        ASSERT_TRUE(db.open());
        EXPECT_EQ(JournalSchema::version(db), JournalSchema::latestVersion());
        db.close();
    }
    QSqlDatabase::removeDatabase("newer");
}

TEST(PracticeJournalOpening, AJournalThatCannotBeKeptIsSaidOnceAndRecordingIsQuiet) {
    QTemporaryDir dir;
    writeBytes(dir.path() + "/blocked", "a file where the folder should be");
    PracticeJournal journal(dir.path() + "/blocked");
    const Listening listening;
    EXPECT_FALSE(journal.open());
    journal.recordAnswer(answer(1, 3, "2 + 3 = □", "5", "5", 4000, kMonday));
    journal.recordRunStart(1, 3, kMonday);
    journal.waitForWrites();
    EXPECT_EQ(said.size(), 1);
    EXPECT_EQ(journal.currentChildId(), 1);
    EXPECT_EQ(journal.children().size(), 1);
    EXPECT_EQ(journal.addChild("二宝"), 0);
    EXPECT_TRUE(journal.answers(1, {}).isEmpty());
    EXPECT_EQ(journal.exerciseTallies(1, {}).size(), 37);
    EXPECT_EQ(journal.readError(),
              QStringLiteral("读取练习记录失败：%1（练习记录没有打开）").arg(journal.filePath()));
    EXPECT_EQ(said.size(), 1);
    EXPECT_EQ(readAll(dir.path() + "/blocked"), "a file where the folder should be");
}

}  // namespace
}  // namespace sumbrook
