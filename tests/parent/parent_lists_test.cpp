// The parent's lists through the window over a real journal.
#include <gtest/gtest.h>

#include <QTableWidget>
#include <QTest>
#include <numeric>

#include "parent/parent_centre_window.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"

namespace sumbrook {
namespace {

const QDateTime kNow(QDate(2026, 12, 9), QTime(19, 0));

QDateTime at(int month, int day, int minute = 0) {
    return QDateTime(QDate(2026, month, day), QTime(17, 0).addSecs(60 * minute));
}

TEST(ParentLists, MissedFactsAreWrittenAsAPersonWouldWithWhatTheChildTyped) {
    const struct {
        int exercise;
        QString shown, expected;
        QStringList typed;  // in order; the expected text is a right answer
        QString row;        // question, answer and wrong answers as the window writes them
    } cases[] = {
        {13, "7 + 8 = □", "15", {"14", "15", "16", "14"}, "7 + 8 = □|15|14、16"},
        {37, "钱币图44：□元", "1", {"5", "1"}, "1元|1元|5元"},
        {37, "钱币图17：□元", "5", {"50", "2"}, "5元|5元|50元、2元"},
        {37, "钱币图10：□角", "5", {"1"}, "5角|5角|1角"},
        {36,
         "2点45分",
         "2点45分",
         {"3点45分", "2点分", "3点45分"},
         "钟面 2点45分|2点45分|3点45分、2点□分"},
        {36, "12点0分", "12点0分", {"点0分"}, "钟面 12点0分|12点0分|□点0分"},
        {4, "3 + 4 = □", "7", {""}, "3 + 4 = □|7|（没填）"},
    };
    testing::RecordedJournal journal;
    QStringList expected;
    int minute = 0;
    for (const auto& c : cases) {
        expected << c.row;
        for (const QString& entry : c.typed) {
            journal.typed(1, c.exercise, at(12, 8, ++minute), c.shown, c.expected, entry);
        }
    }
    journal.typed(1, 13, at(11, 2), "7 + 8 = □", "15", "13");  // before this week
    journal.journal.waitForWrites();
    ParentCentreWindow window(journal.queries, ReportSpan::Week, [] { return kNow; });
    auto* missed = window.findChild<QTableWidget*>(QStringLiteral("表格_错题"));
    QStringList rows;
    for (int r = 0; r < missed->rowCount(); ++r) {
        rows << QStringList{missed->item(r, 0)->text(), missed->item(r, 1)->text(),
                            missed->item(r, 2)->text()}
                    .join(u'|');
    }
    rows.sort();
    expected.sort();
    EXPECT_EQ(rows, expected);
}

// The visible rows from the top: exercise numbers, the fold line as 0.
std::vector<int> shownOrder(const QTableWidget* table) {
    std::vector<int> out;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (!table->isRowHidden(row)) {
            out.push_back(table->item(row, 0)->text().section(u' ', 0, 0).toInt());
        }
    }
    return out;
}

void clickFoldLine(QTableWidget* table) {
    const auto line = table->findItems(QStringLiteral("未练习的"), Qt::MatchStartsWith);
    ASSERT_EQ(line.size(), 1);
    table->scrollToItem(line.front());
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualItemRect(line.front()).center());
}

TEST(ParentLists, TheExerciseTableSortsEachColumnByValueWithTheUntriedFoldedBelow) {
    // As text "10" < "2", "100%" < "50%", "1分05秒" < "9.0秒" and "12月" < "9月".
    const struct {
        int exercise, asked, wrongs, ms;
        QDateTime last;
        std::int64_t best;  // 0: never completed
    } tried[] = {{4, 10, 0, 9000, at(12, 9), 83450},
                 {12, 2, 1, 12000, QDateTime(QDate(2026, 9, 30), QTime(17, 0)), 0},
                 {30, 3, 1, 65000, at(12, 1), 95000}};
    const struct {
        int column;
        std::vector<int> up, down;  // the tried exercises from the top
    } cases[] = {{0, {4, 12, 30}, {30, 12, 4}}, {1, {12, 30, 4}, {4, 30, 12}},
                 {2, {12, 30, 4}, {4, 30, 12}}, {3, {4, 12, 30}, {30, 12, 4}},
                 {4, {4, 30, 12}, {30, 4, 12}},  // never completed stays last
                 {5, {12, 30, 4}, {4, 30, 12}}};
    testing::RecordedJournal journal;
    for (const auto& t : tried) {
        for (int i = 0; i < t.asked; ++i) {
            journal.typed(1, t.exercise, t.last.addSecs(-60 * i), "1 + 1 = □", "2",
                          i < t.wrongs ? "3" : "2", t.ms);
        }
        if (t.best > 0) {
            journal.completion(1, t.exercise, t.best, t.last);
        }
    }
    journal.journal.waitForWrites();
    ParentCentreWindow window(journal.queries, ReportSpan::All, [] { return kNow; });
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("表格_练习"));
    EXPECT_EQ(shownOrder(table), (std::vector<int>{4, 12, 30, 0}));
    EXPECT_EQ(table->findItems(QStringLiteral("未练习的 34 个练习"), Qt::MatchExactly).size(), 1);
    for (const auto& c : cases) {
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            SCOPED_TRACE(::testing::Message() << "column " << c.column << " order " << order);
            table->sortByColumn(c.column, order);
            std::vector<int> expected = order == Qt::AscendingOrder ? c.up : c.down;
            expected.push_back(0);
            EXPECT_EQ(shownOrder(table), expected);
        }
    }
    // Unfolded, the untried follow their line by number whatever the order; a click folds.
    clickFoldLine(table);
    std::vector<int> unfolded(37);
    std::iota(unfolded.begin(), unfolded.end(), 1);
    std::erase_if(unfolded, [](int e) { return e == 4 || e == 12 || e == 30; });
    unfolded.insert(unfolded.begin(), {4, 30, 12, 0});  // as last sorted: latest first
    EXPECT_EQ(shownOrder(table), unfolded);
    clickFoldLine(table);
    EXPECT_EQ(shownOrder(table), (std::vector<int>{4, 30, 12, 0}));
}

}  // namespace
}  // namespace sumbrook
