#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include "journal/legacy_fact_text.h"
#include "journal/practice_journal.h"
#include "support/run_sumbrook.h"

namespace sumbrook {
namespace {

using testing::Outcome;
using testing::runSumbrook;

// A family journal in its own data folder, which the program is pointed at.
class MistakesSheetCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("SUMBROOK_DATA_DIR", dir_.path().toLocal8Bit());
        PracticeJournal journal(dir_.path());
        ASSERT_TRUE(journal.open());
        const int ming = journal.addChild(QStringLiteral("小明"));
        journal.addChild(QStringLiteral("小红"));          // never practised
        journal.addChild(QStringLiteral("\x1b[31m小兰"));  // never practised either
        const QDateTime now = QDateTime::currentDateTime();
        auto answer = [&](int child, int exercise, const char* shown, const char* expected,
                          bool right, qint64 daysAgo) {
            AnsweredQuestion a;
            a.at = now.addDays(-daysAgo);
            a.childId = child;
            a.exercise = exercise;
            a.shown = QString::fromUtf8(shown);
            a.expected = QString::fromUtf8(expected);
            a.typed = right ? a.expected : QStringLiteral("1");
            a.right = right;
            a.ms = 4000;
            a.fact = LegacyFactText::read(exercise, a.shown, a.expected);
            journal.recordAnswer(a);
        };
        answer(1, 13, "7 + 8 = □", "15", false, 3);
        answer(1, 13, "7 + 8 = □", "15", false, 2);
        answer(1, 14, "13 − 6 = □", "7", false, 2);
        answer(1, 7, "□ + 3 = 9", "6", true, 1);  // right: never on the sheet
        answer(1, 4, "2 + 2 = □", "4", false, 40);
        answer(1, 36, "3点15分", "3点15分", false, 1);
        answer(ming, 4, "5 + 4 = □", "9", false, 1);
        journal.waitForWrites();
    }
    void TearDown() override { qunsetenv("SUMBROOK_DATA_DIR"); }

    Outcome sheet(QStringList arguments) {
        arguments.prepend(QStringLiteral("--from-mistakes"));
        arguments.prepend(QStringLiteral("worksheet"));
        return runSumbrook(arguments);
    }
    QString pdf() const { return dir_.filePath(QStringLiteral("mistakes.pdf")); }
    QSet<QByteArray> firstLines(const Outcome& run, int n) {
        QSet<QByteArray> out;
        for (int i = 0; i < n && i < run.lines.size(); ++i) {
            out.insert(run.lines[i]);
        }
        return out;
    }

    QTemporaryDir dir_;
};

TEST_F(MistakesSheetCommand, PrintsTheChildsOwnMissesFirstThenNeighboursIntoATwoPagePdf) {
    struct Case {
        QStringList arguments;
        QSet<QByteArray> missed;  // the lines the sheet begins with, in any order
        int lines;                // with the neighbours two steps around them
        const char* last;         // the clock face, after the sums, or the last sum
    };
    // The missed clock takes a row of faces, the room of six sums.
    const Case cases[] = {
        {{}, {"7 ＋ 8 ＝", "13 － 6 ＝"}, 25, "钟面 3:15"},
        {{"--days", "60"}, {"7 ＋ 8 ＝", "13 － 6 ＝", "2 ＋ 2 ＝"}, 25, "钟面 3:15"},
        // One miss within ten has 15 facts within two steps of it.
        {{"--child", "小明"}, {"5 ＋ 4 ＝"}, 16, nullptr},
        {{"--child", "2"}, {"5 ＋ 4 ＝"}, 16, nullptr},  // 小明's number
        {{"--child", "宝贝", "--days", "3"}, {"7 ＋ 8 ＝", "13 － 6 ＝"}, 25, "钟面 3:15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        QFile::remove(pdf());
        const Outcome run = sheet(c.arguments + QStringList{"--pdf", pdf()});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(firstLines(run, static_cast<int>(c.missed.size())), c.missed);
        EXPECT_EQ(run.lines.size(), c.lines);
        EXPECT_EQ(QSet<QByteArray>(run.lines.begin(), run.lines.end()).size(), c.lines);
        if (c.last) {
            EXPECT_EQ(run.lines.value(run.lines.size() - 1), QByteArray(c.last));
        }
        EXPECT_FALSE(run.err.contains("认识时间")) << run.err.toStdString();
        for (const QByteArray& line : run.lines) {
            EXPECT_FALSE(line.contains("（")) << line.toStdString();  // 6 + 3 was right
        }
        QFile file(pdf());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF"));
        EXPECT_TRUE(bytes.contains("/Count 2")) << "the sheet and its answer key";
    }
}

TEST_F(MistakesSheetCommand, RefusesWhatItCannotDoInOneLineAndWritesNothing) {
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {{"--child", "无名"},
         2,
         "no child is named or numbered '无名' (children: 1 宝贝, 2 小明, 3 小红, 4 "
         "\\x1b[31m小兰)"},
        {{"--child", "小红"}, 1, "小红 missed no sum"},
        {{"--child", "\x1b[31m小兰"}, 1, "sumbrook worksheet: \\x1b[31m小兰 missed no sum"},
        {{"--days", "0"}, 2, "--days"},
        {{"--days", "x"}, 2, "--days"},
        {{"--copies", "2"}, 2, "copies"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        QFile::remove(pdf());
        const Outcome run = sheet(c.arguments + QStringList{"--pdf", pdf()});
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(QString::fromUtf8(c.says)))
            << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf()));
    }
    const Outcome noPdf = sheet({});
    EXPECT_EQ(noPdf.exitCode, 2);
    EXPECT_TRUE(noPdf.err.contains("--pdf FILE"));
}

}  // namespace
}  // namespace sumbrook
