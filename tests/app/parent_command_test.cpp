#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "journal/legacy_fact_text.h"
#include "journal/practice_journal.h"
#include "support/rename_journal_table.h"
#include "support/run_sumbrook.h"

namespace sumbrook {
namespace {

using testing::Outcome;
using testing::runSumbrook;

mode_t kindOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

// What a command said itself, without what the journal's logging category said.
QList<QByteArray> ownLines(const QByteArray& err) {
    QList<QByteArray> lines = err.trimmed().split('\n');
    lines.removeIf([](const QByteArray& line) { return !line.startsWith("sumbrook "); });
    return lines;
}

// A family whose names a command line finds awkward: 2 was stored with a leading tab by an
// older program, 3 is named "2", 4 has a name 100,000 characters long. Each child answered
// one sum of its own; the first missed it.
class FamilyCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("SUMBROOK_DATA_DIR", dir_.path().toLocal8Bit());
        PracticeJournal journal(dir_.path());
        ASSERT_TRUE(journal.open());
        for (const QString& name : {QString("小刚"), QString("2"), QString(100000, u'长')}) {
            ASSERT_GT(journal.addChild(name), 0);
        }
        for (int child = 1; child <= 4; ++child) {
            const QString sum = QStringLiteral("%1 + 1 = □").arg(child);
            journal.recordAnswer({QDateTime::currentDateTime().addSecs(-60), child, 3, sum,
                                  QString::number(child + 1), QStringLiteral("0"), false, 3000,
                                  LegacyFactText::read(3, sum, QString::number(child + 1)), false});
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

    // Every command that writes a file the user names, pointed at `path`.
    static void expectWrittenTo(const QString& path, int exitCode, const char* says) {
        const mode_t kind = kindOf(path);
        const QStringList commands[] = {
            {"parent", "--export-csv"},
            {"worksheet", "--page", "0", "--count", "1=10", "--pdf"},
            {"worksheet", "--from-mistakes", "--pdf"},
        };
        for (const QStringList& command : commands) {
            SCOPED_TRACE((command.join(u' ') + u' ' + path).toStdString());
            const Outcome run = runSumbrook(command + QStringList{path});
            EXPECT_EQ(run.exitCode, exitCode) << run.err.toStdString();
            EXPECT_EQ(kindOf(path), kind) << "replaced";
            if (kindOf(path) != kind && path == "/dev/full") {
                QFile::remove(path);  // the machine's device back for whoever comes next
                ::mknod("/dev/full", S_IFCHR | 0666, makedev(1, 7));
            }
            EXPECT_EQ(run.lines.isEmpty(), exitCode != 0) << "nothing but the reason on failure";
            if (exitCode != 0) {
                const QList<QByteArray> said = ownLines(run.err);
                ASSERT_EQ(said.size(), 1) << run.err.toStdString();
                EXPECT_TRUE(said.front().contains(says)) << said.front().toStdString();
            }
        }
    }

    QTemporaryDir dir_;
};

TEST_F(FamilyCommands, AFullDeviceFailsInOneLineAndStaysADevice) {
    if (kindOf("/dev/full") != S_IFCHR) {
        GTEST_SKIP() << "this machine has no /dev/full";
    }
    expectWrittenTo("/dev/full", 1, "cannot write '/dev/full': No space left on device");
}

TEST_F(FamilyCommands, DevNullTakesEverythingAndAFolderIsRefused) {
    expectWrittenTo("/dev/null", 0, "");
    expectWrittenTo(dir_.path(), 1, "it is a folder");
}

TEST_F(FamilyCommands, AJournalThatCannotBeReadIsSaidNamingItsFileAndNothingIsWritten) {
    const QString journal = dir_.filePath(PracticeJournal::kFileName);
    const QString out = dir_.filePath("out");
    const struct {
        const char* table;
        QStringList command;
    } rows[] = {
        {"answers", {"parent", "--export-csv", out}},
        {"children", {"parent", "--export-csv", out, "--child", "2"}},
        {"answers", {"worksheet", "--from-mistakes", "--pdf", out}},
        {"children", {"worksheet", "--from-mistakes", "--pdf", out}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command.join(u' ').toStdString() + " without " + row.table);
        ASSERT_EQ(testing::renameJournalTable(journal, row.table, "kept"), "");
        const Outcome run = runSumbrook(row.command);
        ASSERT_EQ(testing::renameJournalTable(journal, "kept", row.table), "");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.lines.isEmpty());
        const QList<QByteArray> said = ownLines(run.err);
        ASSERT_EQ(said.size(), 1) << run.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(said.front()).contains(journal)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(FamilyCommands, ChildIsChosenByExactNameOrElseNumberAndOtherwiseRefusedInOneShortLine) {
    const QString children = " (children: 1 宝贝, 2 \\t小刚, 3 2, 4 " + QString(40, u'长') + "…)\n";
    const struct {
        QString given;
        QString answered;  // the sum in the one row exported
        QString refused;   // or how the refusal shows what was given
    } rows[] = {
        {"\t小刚", "2 + 1 = □", {}},
        {"2", "3 + 1 = □", {}},  // the child named "2", not number 2
        {"1", "1 + 1 = □", {}},
        {"4", "4 + 1 = □", {}},
        {"小刚", {}, "'小刚'"},  // the stored name has its tab
        {" 2", {}, "' 2'"},
        {"\x1b[2J\x1b]0;pwned\x07", {}, "'\\x1b[2J\\x1b]0;pwned\\x07'"},
        // (an argument of 100,000 CJK characters is past what Linux lets a program be given)
        {QString(100000, u'x'), {}, u'\'' + QString(40, u'x') + u'…' + u'\''},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.given.left(20).toStdString());
        const Outcome run =
            runSumbrook({"parent", "--export-csv", "/dev/stdout", "--child", row.given});
        if (row.refused.isEmpty()) {
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            ASSERT_EQ(run.lines.size(), 3) << "header, one answer, and what was written";
            EXPECT_TRUE(QString::fromUtf8(run.lines[1]).contains(row.answered));
        } else {
            EXPECT_EQ(run.exitCode, 2);
            EXPECT_EQ(QString::fromUtf8(run.err),
                      "sumbrook parent: no child is named or numbered " + row.refused + children);
        }
    }
}

}  // namespace
}  // namespace sumbrook
