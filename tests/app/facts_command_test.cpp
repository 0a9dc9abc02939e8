#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "journal/practice_journal.h"
#include "practice/core/practice_observer.h"
#include "support/run_sumbrook.h"

namespace sumbrook {
namespace {

using testing::runSumbrook;

TwoNumberQuestion sum(int a, int b) {
    return {QString::number(a), QStringLiteral("+"),   QString::number(b),
            QString(),          BlankPosition::Result, a + b};
}

// Yesterday the child missed 7 + 8 twice and 2 + 3 once, and knew 4 + 4 once: today's
// review asks the two missed, the more often missed first, topped up with 4 + 4 (known
// once is not yet fluent); the list names all three.
TEST(FactsCommand, ListsEveryFactMetAndTodaysReviewInTheOrderTheSceneAsksIt) {
    QTemporaryDir dir;
    qputenv("SUMBROOK_DATA_DIR", dir.path().toLocal8Bit());
    {
        PracticeJournal journal(dir.path());
        ASSERT_TRUE(journal.open());
        const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
        const struct {
            TwoNumberQuestion question;
            bool right;
        } answers[] = {
            {sum(7, 8), false}, {sum(2, 3), false}, {sum(7, 8), false}, {sum(4, 4), true}};
        int second = 0;
        for (const auto& a : answers) {
            const QString expected = QString::number(a.question.deshu);
            journal.recordAnswer({yesterday.addSecs(++second), 1, 4, shownQuestionText(a.question),
                                  expected, a.right ? expected : QStringLiteral("1"), a.right, 4000,
                                  factOf(a.question), false});
        }
        journal.waitForWrites();
    }

    const auto json = [](const QByteArray& line) { return QJsonDocument::fromJson(line).object(); };
    const testing::Outcome due = runSumbrook({"facts", "--due", "--json"});
    ASSERT_EQ(due.exitCode, 0) << due.err.toStdString();
    ASSERT_EQ(due.lines.size(), 3);
    EXPECT_EQ(json(due.lines[0])["question"].toString(), QStringLiteral("7 + 8 = □"));
    EXPECT_EQ(json(due.lines[0])["missed"].toInt(), 2);
    EXPECT_EQ(json(due.lines[0])["state"].toString(), QStringLiteral("learning"));
    EXPECT_EQ(json(due.lines[0])["due"].toString(), QDate::currentDate().toString(Qt::ISODate));
    EXPECT_EQ(json(due.lines[1])["question"].toString(), QStringLiteral("2 + 3 = □"));
    EXPECT_EQ(json(due.lines[1])["review"].toString(), QStringLiteral("due"));
    EXPECT_EQ(json(due.lines[2])["question"].toString(), QStringLiteral("4 + 4 = □"));
    EXPECT_EQ(json(due.lines[2])["review"].toString(), QStringLiteral("slow"));

    const testing::Outcome all = runSumbrook({"facts"});
    ASSERT_EQ(all.exitCode, 0);
    ASSERT_EQ(all.lines.size(), 4) << "a header and three facts";
    EXPECT_TRUE(all.lines[0].startsWith("练习")) << all.lines[0].toStdString();
    EXPECT_TRUE(all.lines[3].contains("7 + 8 = □")) << all.lines[3].toStdString();

    const testing::Outcome nobody = runSumbrook({"facts", "--child", "没有这个孩子"});
    EXPECT_EQ(nobody.exitCode, 2);
    EXPECT_TRUE(nobody.lines.isEmpty());
    qunsetenv("SUMBROOK_DATA_DIR");
}

}  // namespace
}  // namespace sumbrook
