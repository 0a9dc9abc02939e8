#include <gtest/gtest.h>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "journal/practice_journal.h"
#include "support/run_sumbrook.h"

namespace sumbrook {
namespace {

using testing::Outcome;
using testing::runSumbrook;

// A family whose names a command line finds awkward: one stored with a leading tab by an
// older program, one named like another's number, one whose name is 100,000 characters
// long. Each child answered one sum of its own.
class ParentCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("SUMBROOK_DATA_DIR", dir_.path().toLocal8Bit());
        PracticeJournal journal(dir_.path());
        ASSERT_TRUE(journal.open());
        ASSERT_EQ(journal.addChild(QStringLiteral("小刚")), 2);
        ASSERT_EQ(journal.addChild(QStringLiteral("2")), 3);
        ASSERT_EQ(journal.addChild(QString(100000, u'长')), 4);
        for (int child = 1; child <= 4; ++child) {
            AnsweredQuestion a;
            a.at = QDateTime::currentDateTime();
            a.childId = child;
            a.exercise = 3;
            a.shown = QStringLiteral("%1 + 1 = □").arg(child);
            a.expected = QString::number(child + 1);
            a.typed = a.expected;
            a.right = true;
            journal.recordAnswer(a);
        }
        journal.waitForWrites();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "older-program");
            db.setDatabaseName(journal.filePath());
            ASSERT_TRUE(db.open());
            ASSERT_TRUE(
                QSqlQuery(db).exec("UPDATE children SET name = char(9) || name WHERE id = 2"));
        }
        QSqlDatabase::removeDatabase("older-program");
    }
    void TearDown() override { qunsetenv("SUMBROOK_DATA_DIR"); }

    static Outcome exportOf(const QString& child) {
        return runSumbrook({"parent", "--export-csv", "/dev/stdout", "--child", child});
    }

    QTemporaryDir dir_;
};

TEST_F(ParentCommand, ChoosesTheChildByItsExactNameOrElseItsNumber) {
    const struct {
        const char* given;
        const char* sum;
    } rows[] = {
        {"\t小刚", "2 + 1 = □"}, {"2", "3 + 1 = □"},  // the child named "2", not child number 2
        {"1", "1 + 1 = □"},      {"宝贝", "1 + 1 = □"}, {"4", "4 + 1 = □"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.given);
        const Outcome run = exportOf(QString::fromUtf8(row.given));
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        ASSERT_EQ(run.lines.size(), 3) << "header, one answer, and what was written";
        EXPECT_TRUE(run.lines[1].contains(row.sum)) << run.lines[1].toStdString();
        EXPECT_TRUE(run.lines[2].startsWith("1 answered questions written to /dev/stdout"));
    }
}

TEST_F(ParentCommand, AnUnknownChildIsRefusedInOneShortLineWithNothingRaw) {
    const QString cut = QString(40, u'长') + u'…';
    const struct {
        QString given;
        QString shown;
    } rows[] = {
        {"小刚", "'小刚'"},  // the stored name has its tab
        {" 2", "' 2'"},
        {"9", "'9'"},
        {"\x1b[2J\x1b]0;pwned\x07", "'\\x1b[2J\\x1b]0;pwned\\x07'"},
        // (an argument of 100,000 CJK characters is past what Linux lets a program be given)
        {QString(100000, u'x'), u'\'' + QString(40, u'x') + u'…' + u'\''},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown.toStdString());
        const Outcome run = exportOf(row.given);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.lines.isEmpty());
        const QString err = QString::fromUtf8(run.err);
        EXPECT_TRUE(err.startsWith("sumbrook parent: no child is named or numbered " + row.shown))
            << run.err.toStdString();
        EXPECT_TRUE(err.contains("(children: 1 宝贝, 2 \\t小刚, 3 2, 4 " + cut + ")"))
            << run.err.toStdString();
        EXPECT_EQ(err.count(u'\n'), 1);
        EXPECT_LT(err.size(), 300);
        EXPECT_FALSE(err.contains(u'\x1b') || err.contains(u'\t') || err.contains(u'\x07'));
    }
}

}  // namespace
}  // namespace sumbrook
