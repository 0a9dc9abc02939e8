// The "全班" page over a class in memory: the heat map, the facts the class misses, the
// class's fluency, and the spans they are read over.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTableWidget>

#include "fake_class.h"
#include "parent/fact_map_view.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"
#include "teacher/class_page.h"
#include "teacher/class_span.h"
#include "teacher/heat_map_view.h"
#include "teacher/teacher_window.h"

namespace sumbrook {
namespace {

using testing::FakeClass;

// A Thursday in December.
const QDateTime kNow(QDate(2026, 12, 10), QTime(10, 30));

// Each row a cell of the heat map: its band, its colour where painted, its hover text.
TEST(TeacherHeatMap, PaintsEachCellByItsAccuracyBandAndTellsItsNumbersOnHover) {
    const struct {
        HeatCell cell;
        HeatMapView::Band band;
        QString hover;  // after the pupil's and the exercise's names
    } rows[] = {
        {{0, 0, 0}, HeatMapView::Band::None, "还没有做过"},
        {{10, 5, 4200}, HeatMapView::Band::Below60, "做了 10 题，正确率 50%，每题用时中位 4.2 秒"},
        {{10, 6, 3000}, HeatMapView::Band::Below80, "做了 10 题，正确率 60%，每题用时中位 3.0 秒"},
        {{20, 17, 2500}, HeatMapView::Band::Below90, "做了 20 题，正确率 85%，每题用时中位 2.5 秒"},
        {{40, 36, 1800}, HeatMapView::Band::Good, "做了 40 题，正确率 90%，每题用时中位 1.8 秒"},
    };
    ClassHeatMap map;
    map.pupils = {{1, {"01", "王小明"}, false}};
    map.cells.resize(1);
    for (int i = 0; i < 5; ++i) {
        map.cells[0][i * 3] = rows[i].cell;  // exercises 1, 4, 7, 10, 13
    }
    HeatMapView view;
    view.setMap(map);
    view.resize(view.sizeHint());
    const QImage picture = view.grab().toImage();
    for (int i = 0; i < 5; ++i) {
        const int exercise = i * 3 + 1;
        EXPECT_EQ(HeatMapView::band(rows[i].cell), rows[i].band) << exercise;
        // Above the centre, where the percentage is not written.
        const QPoint at = view.cellCentre(0, exercise) + QPoint(0, -8);
        EXPECT_EQ(picture.pixelColor(at), HeatMapView::colour(rows[i].band)) << exercise;
        const QString hover = view.cellText(view.cellCentre(0, exercise));
        EXPECT_TRUE(hover.startsWith(QStringLiteral("王小明 · %1 ").arg(exercise)))
            << hover.toStdString();
        EXPECT_TRUE(hover.endsWith(rows[i].hover)) << hover.toStdString();
    }
    // The headings name the exercise; the space beside the cells tells nothing.
    EXPECT_TRUE(view.cellText(view.cellCentre(0, 5) - QPoint(0, 24)).startsWith("5 "));
    EXPECT_EQ(view.cellText(QPoint(2, 2)), QString());
    EXPECT_EQ(view.cellText(view.cellCentre(1, 5)), QString());
}

// The term begins on 1 September or 1 March, whichever came last.
TEST(TeacherClassSpan, EachSpanEndsTodayAndBeginsWhereTheTeacherCountsIt) {
    const struct {
        QDate today;
        ClassSpan span;
        QDate from;
    } rows[] = {
        {{2026, 12, 10}, ClassSpan::Week, {2026, 12, 7}},
        {{2026, 12, 10}, ClassSpan::Month, {2026, 12, 1}},
        {{2026, 12, 10}, ClassSpan::Term, {2026, 9, 1}},
        {{2027, 2, 20}, ClassSpan::Term, {2026, 9, 1}},
        {{2027, 3, 1}, ClassSpan::Term, {2027, 3, 1}},
        {{2027, 8, 31}, ClassSpan::Term, {2027, 3, 1}},
        {{2027, 9, 1}, ClassSpan::Term, {2027, 9, 1}},
    };
    for (const auto& row : rows) {
        const JournalSpan span = journalSpanOf(row.span, QDateTime(row.today, QTime(9, 0)));
        EXPECT_EQ(span.from, row.from.startOfDay()) << row.today.toString().toStdString();
        EXPECT_EQ(span.to, row.today.addDays(1).startOfDay());
    }
}

struct ClassWindow {
    ClassWindow() : window(fake, pupils.queries, fake.source(), [] { return kNow; }) {}
    FakeClass fake;
    testing::RecordedJournal pupils;
    TeacherWindow window;
};

// The span buttons read the class again over their span; the page shows what it read.
TEST(TeacherClassPage, ReadsTheChosenSpanAndShowsTheHeatMapTheMissedFactsAndTheFluency) {
    ClassWindow w;
    ClassHeatMap heat;
    heat.pupils = {{1, {"01", "王小明"}, false}, {2, {"02", "李华"}, false}};
    heat.cells.resize(2);
    heat.cells[0][6] = {10, 8, 3000};
    heat.cells[1][6] = {10, 4, 5000};
    w.fake.setHeat(heat);
    ClassMissedFact missed;
    missed.fact.exercise = 7;
    missed.fact.shown = QStringLiteral("7 + 8 = □");
    missed.fact.expected = QStringLiteral("15");
    missed.fact.asked = 12;
    missed.fact.missed = 5;
    missed.pupils = 3;
    w.fake.setMissed({missed});
    ClassFluency fluency;
    fluency.pupils = 2;
    fluency.additionFluent[7][8] = 1;
    fluency.additionMet[7][8] = 2;
    fluency.subtractionFluent[15][8] = 0;
    fluency.subtractionMet[15][8] = 1;
    w.fake.setFluency(fluency);

    w.window.showPage(QStringLiteral("全班"));
    ClassPage* page = w.window.classPage();
    ASSERT_TRUE(testing::waitUntil([&] { return page->filled(); }));
    EXPECT_EQ(page->heatMap()->map().pupils.size(), 2u);

    QTableWidget* table = page->missedTable();
    ASSERT_EQ(table->rowCount(), 1);
    const QStringList expected{"7 + 8 = □", "15", "3 人", "12 次", "5 次"};
    for (int column = 0; column < expected.size(); ++column) {
        EXPECT_EQ(table->item(0, column)->text(), expected[column]) << column;
    }

    FactMapView* map = page->fluencyMap();
    EXPECT_EQ(map->cellText(map->additionCentre(7, 8)),
              QStringLiteral("7 + 8 = 15\n熟练 1 人，做过 2 人，全班 2 人"));
    EXPECT_EQ(map->cellText(map->subtractionCentre(15, 8)),
              QStringLiteral("15 − 8 = 7\n熟练 0 人，做过 1 人，全班 2 人"));
    EXPECT_EQ(map->cellText(map->additionCentre(1, 1)),
              QStringLiteral("1 + 1 = 2\n熟练 0 人，做过 0 人，全班 2 人"));

    const struct {
        QString button;
        QDate from;
    } spans[] = {{"本月", {2026, 12, 1}}, {"本学期", {2026, 9, 1}}, {"本周", {2026, 12, 7}}};
    for (const auto& row : spans) {
        page->findChild<QPushButton*>(QStringLiteral("按钮_") + row.button)->click();
        ASSERT_TRUE(testing::waitUntil([&] { return !page->reading(); }));
        EXPECT_EQ(w.fake.spans().last().from, row.from.startOfDay()) << row.button.toStdString();
    }
}

// A class whose numbers the server will not give is told so, not shown as no practice.
TEST(TeacherClassPage, TellsAReadThatFailedInTheStatusLine) {
    ClassWindow w;
    w.fake.setError(QStringLiteral("服务器没有回答"));
    w.window.showPage(QStringLiteral("全班"));
    EXPECT_TRUE(testing::waitUntil([&] { return !w.window.classPage()->reading(); }));
    EXPECT_FALSE(w.window.classPage()->filled());
    EXPECT_EQ(w.window.classPage()->findChild<QLabel*>(QStringLiteral("标签_全班概况"))->text(),
              QStringLiteral("读不出全班的练习记录，并不是没有练习。"));
    // The "此刻" reader, failing too, may have said it last: the server's words are there.
    EXPECT_TRUE(w.window.status().endsWith(QStringLiteral("服务器没有回答")))
        << w.window.status().toStdString();
}

}  // namespace
}  // namespace sumbrook

namespace sumbrook {
namespace {

// The top row's printouts: each read when asked, told in the status line, the week's
// report in its print preview; a class the server will not give is told, nothing opened.
TEST(TeacherPrintouts, OpenFromTheTopRowOrSayWhyNot) {
    const struct {
        const char* button;
        QString error;
        QString said;
        bool previewed;
    } rows[] = {
        {"全班错题卷", "", "最近 7 天没有学生做错题，不用出全班错题卷。", false},
        {"全班错题卷", "服务器没有回答", "服务器没有回答", false},
        {"班级周报", "", "班级周报：2026年12月7日—12月13日", true},
        {"班级周报", "服务器没有回答", "服务器没有回答", false},
    };
    for (const auto& row : rows) {
        ClassWindow w;
        w.fake.setList({{1, {"01", "王小明"}, false}, {2, {"02", "李华"}, false}});
        w.window.poller()->stop();
        w.fake.setError(row.error);
        auto* button = w.window.findChild<QPushButton*>(QStringLiteral("按钮_") + row.button);
        ASSERT_NE(button, nullptr) << row.button;
        button->click();
        EXPECT_EQ(w.window.status(), row.said) << row.button;
        QPrintPreviewDialog* preview = w.window.findChild<QPrintPreviewDialog*>();
        EXPECT_EQ(preview != nullptr && preview->isVisible(), row.previewed) << row.button;
        if (preview != nullptr) {
            preview->close();
        }
    }
}

}  // namespace
}  // namespace sumbrook
