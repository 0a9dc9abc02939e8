// The fact map page of the parent's window over a real journal.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTabWidget>

#include "parent/fact_map_view.h"
#include "parent/parent_centre_window.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"

namespace sumbrook {
namespace {

const QDateTime kNow(QDate(2026, 12, 9), QTime(19, 0));

// Yesterday the child missed 7 + 8 and 15 − 8 once and knew 3 + 4 quickly twice; today
// the two it missed are due, the map colours them, and the next step names their exercise.
TEST(ParentFactMap, ShowsTheDayAfterAMissTheFactsDueTheirCellsAndWhatToPractiseNext) {
    testing::RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    const QDateTime yesterday = kNow.addDays(-1);
    journal.answer(1, 7, yesterday, QStringLiteral("7 + 8 = □"), QStringLiteral("15"), false, 6000);
    journal.answer(1, 7, yesterday.addSecs(20), QStringLiteral("15 − 8 = □"), QStringLiteral("7"),
                   false, 6000);
    journal.answer(1, 7, yesterday.addSecs(40), QStringLiteral("3 + 4 = □"), QStringLiteral("7"),
                   true, 1500);
    journal.answer(1, 7, yesterday.addSecs(60), QStringLiteral("3 + 4 = □"), QStringLiteral("7"),
                   true, 1400);
    journal.journal.waitForWrites();

    ParentCentreWindow window(journal.queries, ReportSpan::Week, [] { return kNow; });
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("选项卡_家长中心"));
    ASSERT_NE(tabs, nullptr);
    tabs->setCurrentIndex(1);
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("口算掌握"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("标签_今日复习"))->text(),
              QStringLiteral("今天有 2 道错题到了复习的时候：孩子在主菜单点“错题复习”就能做。"));
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("标签_下一步"))
                    ->text()
                    .startsWith(QStringLiteral("下一步：先练第7项")));

    const FactMapView* map = window.factMapView();
    const struct {
        QPoint cell;
        const char* says;
    } cells[] = {
        {map->additionCentre(7, 8),
         "7 + 8 = 15\n7 + 8 = □：做过 1 次，错 1 次，用时中位 6.0 秒，正在学"
         "；复习盒 1，12月9日该复习"},
        {map->subtractionCentre(15, 8), "15 − 8 = 7\n15 − 8 = □：做过 1 次，错 1 次"},
        {map->additionCentre(3, 4), "3 + 4 = 7\n3 + 4 = □：做过 2 次，错 0 次，用时中位 1.4 秒"},
        {map->additionCentre(4, 3), "4 + 3 = 7\n还没有做过"},
    };
    for (const auto& c : cells) {
        EXPECT_TRUE(map->cellText(c.cell).startsWith(QString::fromUtf8(c.says)))
            << map->cellText(c.cell).toStdString();
    }
    EXPECT_TRUE(map->cellText(QPoint(1, 1)).isEmpty());
}

}  // namespace
}  // namespace sumbrook
