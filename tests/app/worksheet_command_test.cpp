#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
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

}  // namespace
}  // namespace sumbrook
