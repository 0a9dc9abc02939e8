// The parent's lists read through the window over a real journal: missed facts in the
// words a parent would use with what the child typed, the exercise table sorted by value
// with the untried folded away, and the status line as children are added and renamed.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "exercise_rows.h"
#include "parent/parent_centre_window.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"

namespace sumbrook {
namespace {

using testing::RecordedJournal;

const QDateTime kNow(QDate(2026, 12, 9), QTime(19, 0));

QDateTime at(int month, int day, int minute = 0) {
    return QDateTime(QDate(2026, month, day), QTime(17, 0).addSecs(60 * minute));
}

struct MissedCase {
    int exercise;
    const char* shown;
    const char* expected;
    std::vector<const char*> typed;  // in order; the expected text is a right answer
    const char* question;            // the row as the window writes it
    const char* answer;
    const char* wrong;
};

TEST(ParentLists, MissedFactsAreWrittenAsAPersonWouldWithWhatTheChildTyped) {
    const MissedCase cases[] = {
        {13, "7 + 8 = □", "15", {"14", "15", "16", "14"}, "7 + 8 = □", "15", "14、16"},
        {37, "钱币图44：□元", "1", {"5", "1"}, "1元", "1元", "5元"},
        {37, "钱币图17：□元", "5", {"50", "2"}, "5元", "5元", "50元、2元"},
        {37, "钱币图10：□角", "5", {"1"}, "5角", "5角", "1角"},
        {37, "钱币图30：□元", "20", {"10"}, "20元", "20元", "10元"},
        {36,
         "2点45分",
         "2点45分",
         {"3点45分", "2点分", "3点45分"},
         "钟面 2点45分",
         "2点45分",
         "3点45分、2点□分"},
        {36, "12点0分", "12点0分", {"点0分"}, "钟面 12点0分", "12点0分", "□点0分"},
        {4, "3 + 4 = □", "7", {""}, "3 + 4 = □", "7", "（没填）"},
    };
    RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    int minute = 0;
    for (const MissedCase& c : cases) {
        for (const char* entry : c.typed) {
            journal.typed(1, c.exercise, at(12, 8, ++minute), QString::fromUtf8(c.shown),
                          QString::fromUtf8(c.expected), QString::fromUtf8(entry));
        }
    }
    // Last month's slip is not this week's wrong answer.
    journal.typed(1, 13, at(11, 2), QStringLiteral("7 + 8 = □"), QStringLiteral("15"),
                  QStringLiteral("13"));
    journal.journal.waitForWrites();
    ParentCentreWindow window(journal.queries, ReportSpan::Week, [] { return kNow; });
    auto* missed = window.findChild<QTableWidget*>(QStringLiteral("表格_错题"));
    ASSERT_NE(missed, nullptr);
    ASSERT_EQ(missed->rowCount(), static_cast<int>(std::size(cases)));
    for (const MissedCase& c : cases) {
        SCOPED_TRACE(c.shown);
        int row = -1;
        for (int r = 0; r < missed->rowCount(); ++r) {
            if (missed->item(r, 0)->text() == QString::fromUtf8(c.question)) {
                ASSERT_EQ(row, -1);
                row = r;
            }
        }
        ASSERT_GE(row, 0);
        EXPECT_EQ(missed->item(row, 1)->text(), QString::fromUtf8(c.answer));
        EXPECT_EQ(missed->item(row, 2)->text(), QString::fromUtf8(c.wrong));
    }
    // The mistakes sheet still reads the facts as stored: the sum printed, the rest counted.
    window.openMistakesSheet();
    const MistakesSheet& sheet = window.mistakesSheet();
    EXPECT_EQ(sheet.moneyFactsLeftOut(), 4);
    EXPECT_EQ(sheet.clockFactsLeftOut(), 2);
    ASSERT_FALSE(sheet.items().empty());
    EXPECT_EQ(sheet.items().front().fact.sheetText(), "7 ＋ 8 ＝");
}

// Exercise 4: ten answers, all right, 9 s each, best 01:23.45, last on Dec 9.
// Exercise 12: two answers, one right, 12 s each, never completed, last on Sep 30.
// Exercise 30: three answers, two right, 65 s each, best 01:35.00, last on Dec 1.
// Read as text, "10" < "2", "100%" < "50%", "1分05秒" < "9.0秒" and "12月" < "9月".
void practiseThree(RecordedJournal& journal) {
    for (int i = 0; i < 10; ++i) {
        journal.typed(1, 4, at(12, 9, i), QStringLiteral("3 + 4 = □"), QStringLiteral("7"),
                      QStringLiteral("7"), 9000);
    }
    journal.typed(1, 12, QDateTime(QDate(2026, 9, 30), QTime(17, 0)), QStringLiteral("15 − 8 = □"),
                  QStringLiteral("7"), QStringLiteral("6"), 12000);
    journal.typed(1, 12, QDateTime(QDate(2026, 9, 30), QTime(17, 1)), QStringLiteral("15 − 8 = □"),
                  QStringLiteral("7"), QStringLiteral("7"), 12000);
    for (int i = 0; i < 3; ++i) {
        journal.typed(1, 30, at(12, 1, i), QStringLiteral("9 − 3 − 2 = □"), QStringLiteral("4"),
                      QString::number(i == 0 ? 5 : 4), 65000);
    }
    journal.completion(1, 4, 83450, at(12, 9, 20));
    journal.completion(1, 30, 95000, at(12, 1, 20));
    journal.journal.waitForWrites();
}

// The row of the line the untried exercises fold under; -1 when there is none.
int foldLine(const QTableWidget* table) {
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, 0)->text().startsWith(QStringLiteral("未练习的"))) {
            return row;
        }
    }
    return -1;
}

// The exercises of the visible rows from the top, the fold line as 0.
std::vector<int> shownOrder(const QTableWidget* table) {
    std::vector<int> out;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (!table->isRowHidden(row)) {
            out.push_back(table->item(row, 0)->text().section(u' ', 0, 0).toInt());
        }
    }
    return out;
}

struct SortCase {
    int column;
    Qt::SortOrder order;
    std::vector<int> tried;  // the tried exercises from the top; the fold line follows
};

TEST(ParentLists, TheExerciseTableSortsEachColumnByValueWithTheUntriedFoldedBelow) {
    const auto up = Qt::AscendingOrder;
    const auto down = Qt::DescendingOrder;
    const SortCase cases[] = {
        {0, up, {4, 12, 30}}, {0, down, {30, 12, 4}},  // by number, not text
        {1, up, {12, 30, 4}}, {1, down, {4, 30, 12}},  // 2, 3, 10 questions
        {2, up, {12, 30, 4}}, {2, down, {4, 30, 12}},  // 50%, 67%, 100%
        {3, up, {4, 12, 30}}, {3, down, {30, 12, 4}},  // 9.0秒, 12.0秒, 1分05秒
        {4, up, {4, 30, 12}}, {4, down, {30, 4, 12}},  // never completed stays last
        {5, up, {12, 30, 4}}, {5, down, {4, 30, 12}},  // Sep 30, Dec 1, Dec 9
    };
    RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    practiseThree(journal);
    ParentCentreWindow window(journal.queries, ReportSpan::All, [] { return kNow; });
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("表格_练习"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 38);
    const int fold = foldLine(table);
    ASSERT_GE(fold, 0);
    EXPECT_EQ(table->item(fold, 0)->text(), "未练习的 34 个练习");
    EXPECT_EQ(shownOrder(table), (std::vector<int>{4, 12, 30, 0}));

    std::vector<int> untried;
    for (int e = 1; e <= 37; ++e) {
        if (e != 4 && e != 12 && e != 30) {
            untried.push_back(e);
        }
    }
    for (const bool unfolded : {false, true}) {
        for (const SortCase& c : cases) {
            SCOPED_TRACE(::testing::Message()
                         << "column " << c.column << (c.order == up ? " up" : " down")
                         << (unfolded ? ", unfolded" : ""));
            table->sortByColumn(c.column, c.order);
            std::vector<int> expected = c.tried;
            expected.push_back(0);
            if (unfolded) {
                expected.insert(expected.end(), untried.begin(), untried.end());
            }
            EXPECT_EQ(shownOrder(table), expected);
        }
        if (unfolded) {
            break;
        }
        // The parent unfolds the untried by clicking their line, wherever it now stands.
        const int line = foldLine(table);
        table->scrollToItem(table->item(line, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualItemRect(table->item(line, 0)).center());
    }
    // Another read keeps the parent's order and the untried unfolded; a click folds them.
    window.setSpan(ReportSpan::Month);
    EXPECT_EQ(shownOrder(table).size(), 2u + 1u + 35u);  // 4 and 30 this month, line, 35
    EXPECT_EQ(shownOrder(table).front(), 4);
    const int line = foldLine(table);
    EXPECT_EQ(table->item(line, 0)->text(), "未练习的 35 个练习");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualItemRect(table->item(line, 0)).center());
    EXPECT_EQ(shownOrder(table), (std::vector<int>{4, 30, 0}));
}

struct ChildStep {
    bool add;                // add a child, else rename the chosen one
    const char* name;        // what the parent types
    bool practisesNext;      // the answer to "does the new child practise next"
    const char* status;      // the status line afterwards
    const char* practising;  // the child the journal starts with next
};

TEST(ParentLists, TheStatusLineFollowsAddsAndRenamesAndAddingAsksWhoPractisesNext) {
    const ChildStep steps[] = {
        {true, "小明", false, "已添加“小明”，下次开始练习的还是“宝贝”。", "宝贝"},
        {false, "大宝", false, "已改名为“大宝”，下次开始练习时就是“大宝”在练习。", "大宝"},
        {true, "小红", true, "已添加“小红”，下次开始练习时就是“小红”在练习。", "小红"},
        {false, "红红", false, "已改名为“红红”，下次开始练习时就是“红红”在练习。", "红红"},
    };
    RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    ParentCentreWindow window(journal.queries, ReportSpan::Week, [] { return kNow; });
    auto* status = window.findChild<QLabel*>(QStringLiteral("标签_提示"));
    auto* children = window.findChild<QComboBox*>(QStringLiteral("组合框_孩子"));
    ASSERT_NE(status, nullptr);
    QStringList asked;
    for (const ChildStep& s : steps) {
        SCOPED_TRACE(s.name);
        window.setNameAsker([&](const QString&, const QString&, const QString&) {
            return std::optional<QString>(QString::fromUtf8(s.name));
        });
        window.setYesNoAsker([&](const QString&, const QString& question) {
            asked << question;
            return s.practisesNext;
        });
        s.add ? window.addChild() : window.renameChild();
        EXPECT_EQ(status->text(), QString::fromUtf8(s.status));
        EXPECT_EQ(children->currentText(), QString::fromUtf8(s.practising));
        const int current = journal.journal.currentChildId();
        for (const Child& c : journal.journal.children()) {
            if (c.id == current) {
                EXPECT_EQ(c.name, QString::fromUtf8(s.practising));
            }
        }
    }
    EXPECT_EQ(asked, (QStringList{"已添加“小明”。下次开始练习时换成“小明”来练习吗？",
                                  "已添加“小红”。下次开始练习时换成“小红”来练习吗？"}));
    EXPECT_EQ(children->count(), 3);
}

}  // namespace
}  // namespace sumbrook
