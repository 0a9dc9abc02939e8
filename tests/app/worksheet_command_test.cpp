#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/qstring_printer.h"
#include "support/run_sumbrook.h"

namespace sumbrook {
namespace {

using testing::Outcome;

Outcome worksheet(const QStringList& arguments) {
    return testing::runSumbrook(QStringList{QStringLiteral("worksheet")} + arguments);
}

TEST(WorksheetCommand, RefusedTotalsPrintTheWindowsMessage) {
    const struct {
        QStringList arguments;
        const char* message;
    } rows[] = {
        {{"--page", "0", "--count", "1=20", "--count", "7=11"},
         "请确保各个类型的题目总数不超过30。"},
        {{"--page", "1", "--count", "11=31"}, "请确保各个类型的题目总数不超过30。"},
        {{"--page", "2", "--count", "17=22"}, "请确保各个类型的题目总数不超过21。"},
        {{"--page", "3"}, "请确保各个类型的题目总数必须为10。"},
        {{"--page", "3", "--count", "21=11"}, "请确保各个类型的题目总数必须为10。"},
    };
    for (const auto& row : rows) {
        const Outcome run = worksheet(row.arguments);
        EXPECT_EQ(run.exitCode, 2) << row.arguments.join(' ').toStdString();
        EXPECT_EQ(QString::fromUtf8(run.err).trimmed(), QString::fromUtf8(row.message));
        EXPECT_TRUE(run.lines.isEmpty());
    }
    EXPECT_EQ(worksheet({"--page", "0", "--count", "1=20", "--count", "7=10"}).exitCode, 0);
}

TEST(WorksheetCommand, BadArgumentsAreRefusedInOneLine) {
    const QStringList bad[] = {
        {},
        {"--page", "4"},
        {"--page", "0", "--count", "11=3"},  // a tag of another page
        {"--page", "0", "--count", "1"},
        {"--page", "0", "--count", "1=x"},
        {"--page", "0", "--count", "26=1"},
        {"--page", "0", "--count", "1=2", "--count", "1=3"},
        {"--page", "0", "--copies", "0"},
        {"--page", "0", "--seed", "-1"},
        {"--page", "0", "--colour", "red"},
        {"--page", "0", "--pdf"},
    };
    for (const QStringList& arguments : bad) {
        const Outcome run = worksheet(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("sumbrook worksheet: ")) << run.err.toStdString();
    }
}

TEST(WorksheetCommand, QuestionsStandInSheetOrderAndTheSeedRepeatsThem) {
    const QStringList arguments{"--page",  "0",    "--count", "1=10", "--count", "4=10",
                                "--count", "7=10", "--seed",  "77",   "--json"};
    const Outcome first = worksheet(arguments);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    ASSERT_EQ(first.lines.size(), 30);
    EXPECT_EQ(worksheet(arguments).lines, first.lines);
    QSet<QString> texts;
    for (int i = 0; i < 30; ++i) {
        const QJsonObject o = testing::jsonObject(first.lines[i]);
        EXPECT_EQ(o.value("row").toInt(), 5 + i / 2);
        EXPECT_EQ(o.value("column").toInt(), 1 + i % 2);
        const QString text = o.value("text").toString();
        EXPECT_TRUE(text.endsWith(" ＝")) << text.toStdString();
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 30);

    QStringList otherSeed = arguments;
    otherSeed[9] = "78";
    EXPECT_NE(worksheet(otherSeed).lines, first.lines);
}

TEST(WorksheetCommand, ClockSheetsGiveHoursAndMinutesAndAnswers) {
    const Outcome run = worksheet({"--page", "3", "--count", "21=5", "--count", "22=5", "--json",
                                   "--answers", "--seed", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(run.lines.size(), 10);
    for (const QByteArray& line : run.lines) {
        const QJsonObject o = testing::jsonObject(line);
        const int column = o.value("column").toInt();
        const int minute = o.value("minute").toInt();
        EXPECT_EQ(minute, column == 1 ? 0 : 30);  // on-the-hour faces left, half-past right
        EXPECT_EQ(o.value("answer").toString(),
                  QStringLiteral("%1时%2分").arg(o.value("hour").toInt()).arg(minute));
    }
}

TEST(WorksheetCommand, CopiesAreDifferentSheetsInOnePdf) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheets.pdf");
    const Outcome run = worksheet({"--page", "2", "--count", "17=7", "--count", "20=7", "--copies",
                                   "3", "--answers", "--pdf", pdf, "--seed", "9"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Three sheets of fourteen, a blank line between them.
    ASSERT_EQ(run.lines.size(), 3 * 14 + 2);
    EXPECT_NE(run.lines.mid(0, 14), run.lines.mid(15, 14));
    EXPECT_TRUE(run.lines[0].contains(" | ")) << run.lines[0].toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Count 6"));  // each sheet with its answer page

    const Outcome unwritable = worksheet({"--page", "0", "--pdf", dir.filePath("no/such/x.pdf")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("no/such/x.pdf"));
}

TEST(WorksheetCommand, HelpPrintsTheUsage) {
    for (const QStringList& arguments :
         {QStringList{"--help"}, QStringList{"--page", "0", "--help"}}) {
        const Outcome run = worksheet(arguments);
        EXPECT_EQ(run.exitCode, 0);
        ASSERT_FALSE(run.lines.isEmpty());
        EXPECT_TRUE(run.lines[0].startsWith("usage: sumbrook worksheet --page P"));
        const QByteArray all = run.lines.join('\n');
        for (const char* option :
             {"--count", "--seed", "--copies", "--answers=end", "--pdf", "--json"}) {
            EXPECT_TRUE(all.contains(option)) << option;
        }
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
    EXPECT_EQ(worksheet({"--page", "0", "--answers=start"}).exitCode, 2);
    EXPECT_EQ(worksheet({"--page", "0", "--answers", "end"}).exitCode, 2);
}

TEST(WorksheetCommand, APdfThatCannotBeWrittenLeavesTheOutputEmpty) {
    QTemporaryDir dir;
    for (const char* format : {"--json", "--answers"}) {
        const Outcome run = worksheet({"--page", "0", "--count", "1=10", format, "--pdf",
                                       dir.filePath("no/such/folder/x.pdf")});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.lines.isEmpty()) << run.lines.value(0).toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
}

// The text of each page of a PDF, by poppler's pdftotext.
QStringList pageTexts(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return {};
    }
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) {
        pages.removeLast();
    }
    return pages;
}

// Each sheet of a batch and its key carry the same copy number, whichever way the
// answer pages are gathered.
TEST(WorksheetCommand, EveryCopyAndItsKeyCarryTheSameNumber) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    QTemporaryDir dir;
    const struct {
        const char* answers;
        int page;
        std::vector<std::pair<int, bool>> pages;  // copy number, answer page
    } rows[] = {
        {"--answers", 0, {{1, false}, {1, true}, {2, false}, {2, true}, {3, false}, {3, true}}},
        {"--answers=end", 2, {{1, false}, {2, false}, {3, false}, {1, true}, {2, true}, {3, true}}},
        {"--answers", 3, {{1, false}, {1, true}, {2, false}, {2, true}, {3, false}, {3, true}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answers + std::string(" page ") + std::to_string(row.page));
        const QString pdf = dir.filePath(QStringLiteral("batch%1.pdf").arg(row.page));
        QStringList arguments{"--page",    QString::number(row.page),
                              "--copies",  "3",
                              row.answers, "--pdf",
                              pdf,         "--seed",
                              "5"};
        arguments << "--count" << (row.page == 0 ? "1=6" : row.page == 2 ? "17=6" : "21=10");
        const Outcome run = worksheet(arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QStringList pages = pageTexts(pdf);
        ASSERT_EQ(pages.size(), static_cast<qsizetype>(row.pages.size()));
        for (std::size_t i = 0; i < row.pages.size(); ++i) {
            const auto [copy, key] = row.pages[i];
            const QString text = pages[static_cast<qsizetype>(i)];
            EXPECT_TRUE(text.contains(QStringLiteral("第 %1 份").arg(copy)))
                << i << text.toStdString();
            for (int other = 1; other <= 3; ++other) {
                if (other != copy) {
                    EXPECT_FALSE(text.contains(QStringLiteral("第 %1 份").arg(other))) << i;
                }
            }
            EXPECT_EQ(text.contains(QStringLiteral("答案")), key) << i;
        }
    }
    // One sheet alone carries no number.
    const QString single = dir.filePath(QStringLiteral("single.pdf"));
    ASSERT_EQ(worksheet({"--page", "0", "--count", "1=4", "--answers", "--pdf", single}).exitCode,
              0);
    const QStringList pages = pageTexts(single);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_FALSE(pages[0].contains(QStringLiteral("份")));
}

}  // namespace
}  // namespace sumbrook
