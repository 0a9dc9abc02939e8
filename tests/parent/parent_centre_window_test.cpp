#include "parent/parent_centre_window.h"

#include <gtest/gtest.h>

#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QPrintPreviewDialog>
#include <QScatterSeries>
#include <QTableWidget>

#include "parent/parent_charts.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"
#include "support/rename_journal_table.h"
#include "worksheet/ui/sheet_print_preview.h"

namespace sumbrook {
namespace {

using testing::RecordedJournal;

// Wednesday evening; the week began on Monday the 7th, the month on the 1st.
const QDateTime kNow(QDate(2026, 12, 9), QTime(19, 0));

QDateTime on(int month, int day, int minute = 0) {
    return QDateTime(QDate(2026, month, day), QTime(17, 0).addSecs(60 * minute));
}

struct Window {
    explicit Window(RecordedJournal& journal) : window(journal.queries) {
        window.setClock([] { return kNow; });
    }
    template <typename T>
    T* find(const QString& name) {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLabel* empty() { return find<QLabel>(QStringLiteral("标签_空状态")); }
    QComboBox* children() { return find<QComboBox>(QStringLiteral("组合框_孩子")); }
    QTableWidget* exercises() { return find<QTableWidget>(QStringLiteral("表格_练习")); }
    QTableWidget* missed() { return find<QTableWidget>(QStringLiteral("表格_错题")); }
    QString status() { return find<QLabel>(QStringLiteral("标签_提示"))->text(); }
    QString summary() { return find<QLabel>(QStringLiteral("标签_概况"))->text(); }
    bool showsCharts() {
        return find<QChartView>(QStringLiteral("图表_每日"))->isVisibleTo(&window);
    }
    QAbstractSeries* series(const QString& chart, const QString& name) {
        for (QAbstractSeries* s : find<QChartView>(chart)->chart()->series()) {
            if (s->name() == name) {
                return s;
            }
        }
        ADD_FAILURE() << "no series " << name.toStdString();
        return nullptr;
    }
    // The questions the daily chart counts, over all its days.
    int chartedQuestions() {
        auto* line = static_cast<QLineSeries*>(
            series(QStringLiteral("图表_每日"), ParentCharts::askedSeriesName()));
        qreal sum = 0;
        for (const QPointF& p : line->points()) {
            sum += p.y();
        }
        return qRound(sum);
    }
    QString timesTitle() { return find<QChartView>(QStringLiteral("图表_用时"))->chart()->title(); }
    int timedAnswers() {
        int n = 0;
        for (const QString& name :
             {ParentCharts::rightTimesName(), ParentCharts::wrongTimesName()}) {
            n += static_cast<QScatterSeries*>(series(QStringLiteral("图表_用时"), name))->count();
        }
        return n;
    }
    QString exerciseCell(int exercise, int column) {
        const auto first = exercises()->findItems(QStringLiteral("%1 ").arg(exercise),
                                                  Qt::MatchStartsWith);  // sorting moves rows
        return first.empty() ? QString() : exercises()->item(first[0]->row(), column)->text();
    }
    QStringList missedColumn(int column) {
        QStringList out;
        for (int r = 0; r < missed()->rowCount(); ++r) {
            out << missed()->item(r, column)->text();
        }
        return out;
    }

    ParentCentreWindow window;
};

TEST(ParentCentreWindow, AnEmptyJournalShowsAFriendlySentenceInsteadOfEmptyCharts) {
    RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    Window w(journal);
    w.window.show();
    for (const ReportSpan span : {ReportSpan::Week, ReportSpan::Month, ReportSpan::All}) {
        w.window.setSpan(span);
        EXPECT_TRUE(w.empty()->isVisible());
        EXPECT_TRUE(w.empty()->text().contains(QStringLiteral("显示在这里")));
        EXPECT_FALSE(w.showsCharts());
    }
    // Practice long ago leaves this week empty but not the whole journal.
    journal.answer(1, 4, on(11, 2), QStringLiteral("3 + 4 = □"), QStringLiteral("7"), true, 3000);
    journal.journal.waitForWrites();
    w.window.setSpan(ReportSpan::Week);
    EXPECT_TRUE(w.empty()->isVisible());
    EXPECT_TRUE(w.empty()->text().startsWith(QStringLiteral("本周还没有练习记录")));
    w.window.setSpan(ReportSpan::All);
    EXPECT_FALSE(w.empty()->isVisible());
    EXPECT_TRUE(w.showsCharts());
}

// Two weeks of practice for child 1: on each day d of Nov 26 to Dec 9, d questions of
// exercise 4 (every third wrong) and two of exercise 12 (7 + 8 style, the first wrong).
void practise(RecordedJournal& journal, int child, int exercise12Shift = 0) {
    for (QDate day(2026, 11, 26); day <= kNow.date(); day = day.addDays(1)) {
        const int d = day.day();
        for (int i = 0; i < d % 7 + 1; ++i) {
            const bool right = i % 3 != 2;
            journal.answer(child, 4, QDateTime(day, QTime(17, i)),
                           QStringLiteral("%1 + 2 = □").arg(i + 1), QString::number(i + 3), right,
                           4000 + 100 * i);
        }
        journal.answer(child, 12, QDateTime(day, QTime(18, 0)),
                       QStringLiteral("%1 − 8 = □").arg(15 + exercise12Shift),
                       QString::number(7 + exercise12Shift), false, 9000);
        journal.answer(child, 12, QDateTime(day, QTime(18, 1)), QStringLiteral("11 − 3 = □"),
                       QStringLiteral("8"), true, 5000);
    }
    journal.completion(child, 4, 95000, on(12, 8));
    journal.completion(child, 4, 83450, on(11, 28));
    journal.journal.waitForWrites();
}

struct SpanCase {
    ReportSpan span;
    int asked;
    int right;
    int days;
    const char* bestOf4;
};

TEST(ParentCentreWindow, ChartsAndTablesCountWhatTheChildPractisedInTheSpan) {
    // Per day d: d % 7 + 1 questions of exercise 4 and 2 of exercise 12.
    auto count = [](int fromMonth, int fromDay) {
        int asked = 0;
        int right = 0;
        int days = 0;
        for (QDate day(2026, fromMonth, fromDay); day <= kNow.date(); day = day.addDays(1)) {
            const int n = day.day() % 7 + 1;
            asked += n + 2;
            right += n - n / 3 + 1;
            ++days;
        }
        return SpanCase{ReportSpan::All, asked, right, days, ""};
    };
    const SpanCase week = count(12, 7);
    const SpanCase month = count(12, 1);
    const SpanCase all = count(11, 26);
    const SpanCase cases[] = {
        {ReportSpan::Week, week.asked, week.right, week.days, "01:35.00"},
        {ReportSpan::Month, month.asked, month.right, month.days, "01:35.00"},
        {ReportSpan::All, all.asked, all.right, all.days, "01:23.45"},
    };
    RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    practise(journal, 1);
    Window w(journal);
    for (const SpanCase& c : cases) {
        SCOPED_TRACE(reportSpanName(c.span).toStdString());
        w.window.setSpan(c.span);
        EXPECT_EQ(w.window.report().asked, c.asked);
        EXPECT_EQ(w.chartedQuestions(), c.asked);
        EXPECT_TRUE(w.summary().contains(
            QStringLiteral("共做 %1 题，做对 %2 题").arg(c.asked).arg(c.right)));
        EXPECT_TRUE(w.summary().contains(QStringLiteral("练习了 %1 天").arg(c.days)));
        ASSERT_EQ(w.exercises()->rowCount(), 38);  // and the line the untried fold under
        EXPECT_EQ(w.exerciseCell(12, 1), QString::number(2 * c.days));
        EXPECT_EQ(w.exerciseCell(12, 2), "50%");
        EXPECT_EQ(w.exerciseCell(12, 3), "7.0秒");  // halfway between its 5 and 9 seconds
        EXPECT_EQ(w.exerciseCell(12, 0), "12 20内退位减法");
        EXPECT_EQ(w.exerciseCell(4, 4), QString::fromUtf8(c.bestOf4));
        EXPECT_EQ(w.exerciseCell(5, 1), "0");
        EXPECT_EQ(w.exerciseCell(5, 2), "—");
        // The fact missed every day leads the facts most often wrong.
        ASSERT_GT(w.missed()->rowCount(), 0);
        EXPECT_EQ(w.missed()->item(0, 0)->text(), "15 − 8 = □");
        EXPECT_EQ(w.missed()->item(0, 4)->text(), QStringLiteral("%1 次").arg(c.days));
        EXPECT_EQ(w.missed()->item(0, 5)->text(), QStringLiteral("%1 次").arg(c.days));
        EXPECT_FALSE(w.missedColumn(0).contains(QStringLiteral("11 − 3 = □")));  // never missed
        // Times of the exercise chosen: the one tried most.
        EXPECT_EQ(w.window.exercise(), 4);
        EXPECT_EQ(w.timedAnswers(), c.asked - 2 * c.days);
        w.window.chooseExercise(12);
        EXPECT_EQ(w.timedAnswers(), 2 * c.days);
        w.window.chooseExercise(4);
    }
}

TEST(ParentCentreWindow, ASecondChildsPracticeNeverAppearsInTheFirstsChartsOrTables) {
    RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    practise(journal, 1);
    const int second = journal.journal.addChild(QStringLiteral("小明"));
    practise(journal, second, 1);  // misses 16 − 8 instead of 15 − 8
    for (int i = 0; i < 50; ++i) {
        journal.answer(second, 30, kNow.addSecs(-60 * (i + 1)), QStringLiteral("9 − 3 − 2 = □"),
                       QStringLiteral("4"), false, 7000);
    }
    journal.journal.waitForWrites();
    Window w(journal);
    w.window.setSpan(ReportSpan::All);
    ASSERT_EQ(w.window.childId(), 1);
    const int firstTotal = w.window.report().asked;
    EXPECT_EQ(w.chartedQuestions(), firstTotal);
    EXPECT_EQ(w.exerciseCell(30, 1), "0");
    EXPECT_FALSE(w.missedColumn(0).contains(QStringLiteral("9 − 3 − 2 = □")));
    EXPECT_FALSE(w.missedColumn(0).contains(QStringLiteral("16 − 8 = □")));
    w.window.openMistakesSheet();
    // Its missed facts are the first child's own (16 − 8 may stand there only as a
    // neighbour of 15 − 8).
    for (const auto& item : w.window.mistakesSheet().items()) {
        EXPECT_NE(item.exercise, 30);
        if (item.missed) {
            EXPECT_NE(item.fact.sheetText(), "16 － 8 ＝");
        }
    }
    EXPECT_EQ(w.window.mistakesSheet().items().front().fact.sheetText(), "15 － 8 ＝");

    w.window.chooseChild(second);
    EXPECT_EQ(journal.journal.currentChildId(), second);
    EXPECT_EQ(w.window.report().asked, firstTotal + 50);
    EXPECT_EQ(w.exerciseCell(30, 1), "50");
    EXPECT_EQ(w.missed()->item(0, 0)->text(), "9 − 3 − 2 = □");
    EXPECT_TRUE(w.summary().startsWith(QStringLiteral("小明")));
}

TEST(ParentCentreWindow, ChildrenAreAddedRenamedAndChosenInTheWindow) {
    RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    Window w(journal);
    QComboBox* children = w.children();
    ASSERT_EQ(children->count(), 1);
    EXPECT_EQ(children->currentText(), "宝贝");

    struct Step {
        std::optional<QString> answer;  // what the parent types, nothing for cancel
        bool add;
        const char* names;  // the list afterwards, the chosen one marked with *
        bool next = true;   // the parent's answer to whether a new child practises next
        const char* status = "";
    };
    const Step steps[] = {
        {std::nullopt, true, "*宝贝"},
        {QStringLiteral("   "), true, "*宝贝"},
        {QStringLiteral(" 小明 "), true, "宝贝,*小明", true,
         "已添加“小明”，下次开始练习时就是“小明”在练习。"},
        {QStringLiteral("明明"), false, "宝贝,*明明", true,
         "已改名为“明明”，下次开始练习时就是“明明”在练习。"},
        {std::nullopt, false, "宝贝,*明明", true,
         "已改名为“明明”，下次开始练习时就是“明明”在练习。"},
        {QStringLiteral("小红"), true, "宝贝,明明,*小红", true,
         "已添加“小红”，下次开始练习时就是“小红”在练习。"},
        {QStringLiteral("小刚"), true, "宝贝,明明,*小红,小刚", false,
         "已添加“小刚”，下次开始练习的还是“小红”。"},
        {QStringLiteral("红红"), false, "宝贝,明明,*红红,小刚", true,
         "已改名为“红红”，下次开始练习时就是“红红”在练习。"},
    };
    QStringList asked;
    for (const Step& s : steps) {
        w.window.setNameAsker(
            [&](const QString&, const QString&, const QString&) { return s.answer; });
        w.window.setYesNoAsker([&](const QString&, const QString& question) {
            asked << question;
            return s.next;
        });
        s.add ? w.window.addChild() : w.window.renameChild();
        EXPECT_EQ(w.status(), QString::fromUtf8(s.status));
        QStringList names;
        for (int i = 0; i < children->count(); ++i) {
            names << (i == children->currentIndex() ? QStringLiteral("*") : QString()) +
                         children->itemText(i);
        }
        EXPECT_EQ(names.join(u','), QString::fromUtf8(s.names));
        EXPECT_EQ(journal.journal.currentChildId(), children->currentData().toInt());
    }
    EXPECT_EQ(asked, (QStringList{"已添加“小明”。下次开始练习时换成“小明”来练习吗？",
                                  "已添加“小红”。下次开始练习时换成“小红”来练习吗？",
                                  "已添加“小刚”。下次开始练习时换成“小刚”来练习吗？"}));
    // Choosing in the list is choosing in the journal: the next start practises as them.
    children->setCurrentIndex(0);
    emit children->activated(0);
    EXPECT_EQ(journal.journal.currentChildId(), 1);
    EXPECT_EQ(w.window.childId(), 1);
}

TEST(ParentCentreWindow, ExportWritesTheChosenChildsRecordsWhereTheParentSays) {
    RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    const int second = journal.journal.addChild(QStringLiteral("小明"));
    journal.answer(1, 4, on(12, 8), QStringLiteral("3 + 4 = □"), QStringLiteral("7"), true, 3000);
    journal.answer(second, 12, on(12, 9), QStringLiteral("15 − 8 = □"), QStringLiteral("7"), false,
                   9000);
    // Everything is exported, whatever the span: last year's, and one dated after today by
    // a clock that ran ahead.
    journal.answer(1, 12, QDateTime(QDate(2025, 3, 1), QTime(9, 0)), QStringLiteral("12 − 9 = □"),
                   QStringLiteral("3"), false, 6000);
    journal.answer(1, 4, on(12, 20), QStringLiteral("1 + 1 = □"), QStringLiteral("2"), true, 2000);
    journal.journal.waitForWrites();
    Window w(journal);
    const auto saved = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QString path = journal.path(QStringLiteral("a.csv"));
    w.window.setPathAsker([](const QString& suggested) {
        EXPECT_EQ(suggested, "宝贝的练习记录.csv");
        return QString();
    });
    w.window.exportCsv();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(w.status(), "");

    w.window.setPathAsker([&](const QString&) { return path; });
    w.window.exportCsv();
    EXPECT_EQ(w.status(), QStringLiteral("已导出到 %1").arg(path));
    const QByteArray bytes = saved(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));  // for spreadsheet programs
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5) << bytes.toStdString();  // header, three answers, ""
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("时间,孩子,")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2025-03-01 09:00:00,宝贝,12,")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(",12 − 9 = □,3,30,错,6000")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("2026-12-08 17:00:00,宝贝,4,")));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(",3 + 4 = □,7,7,对,3000")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("2026-12-20 17:00:00,宝贝,4,")));

    const QString nowhere = journal.path(QStringLiteral("no/such/folder/a.csv"));
    w.window.setPathAsker([&](const QString&) { return nowhere; });
    w.window.exportCsv();
    EXPECT_EQ(w.status(), QStringLiteral("导出失败：无法写入 %1").arg(nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST(ParentCentreWindow, TheMistakesSheetOpensInThePrintPreviewWithItsAnswerKey) {
    RecordedJournal journal;
    ASSERT_TRUE(journal.opened);
    Window w(journal);
    w.window.openMistakesSheet();
    EXPECT_EQ(w.window.printPreview(), nullptr);
    EXPECT_TRUE(w.status().contains(QStringLiteral("没有可以印成算式的错题")));

    journal.answer(1, 36, on(12, 9, 30), QStringLiteral("3点15分"), QStringLiteral("3点15分"),
                   false, 8000);
    // Missed once, after everything else: recent, but not as often as 15 − 8.
    journal.answer(1, 12, on(12, 9, 90), QStringLiteral("12 − 9 = □"), QStringLiteral("3"), false,
                   6000);
    practise(journal, 1);
    w.window.refresh();
    w.window.openMistakesSheet();
    ASSERT_NE(w.window.printPreview(), nullptr);
    auto* answers =
        w.window.printPreview()->dialog()->findChild<QCheckBox*>(QStringLiteral("复选框_答案页"));
    ASSERT_NE(answers, nullptr);
    EXPECT_TRUE(answers->isChecked());
    const std::vector<Sheet> pages = w.window.printPreview()->pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].cell(1, 1).text, "错题练习");
    EXPECT_EQ(pages[1].cell(1, 1).text, "错题练习（答案）");
    EXPECT_TRUE(pages[0].cell(2, 1).text.contains(QStringLiteral("宝贝")));
    // This week the child missed 15 − 8 three times, 12 − 9 and 3 + 2 (the third question
    // of exercise 4) once each, 12 − 9 the later: the more misses and the more recent, the
    // sooner on the sheet.
    const MistakesSheet& sheet = w.window.mistakesSheet();
    EXPECT_EQ(sheet.missedCount(), 3);
    EXPECT_EQ(pages[0].cell(5, 1).text, "15 － 8 ＝");
    EXPECT_EQ(pages[1].cell(5, 1).text, "15 － 8 ＝ 7");
    EXPECT_EQ(pages[0].cell(5, 2).text, "12 － 9 ＝");
    EXPECT_EQ(pages[0].cell(6, 1).text, "3 ＋ 2 ＝");
    // The missed clock stands under the sums as a face with blanks for the time.
    ASSERT_EQ(sheet.clocks().size(), 1u);
    EXPECT_EQ(sheet.clockFactsLeftOut(), 0);
    EXPECT_TRUE(pages[0].cell(17, 1).drawing);
    EXPECT_EQ(pages[1].cell(17, 1).answer, "3|15|3|15");
    EXPECT_TRUE(w.status().contains(QStringLiteral("4 道做错的题"))) << w.status().toStdString();
    w.window.printPreview()->dialog()->close();
}

// A table of the journal that cannot be read while the window is open, and what reads it.
struct UnreadableCase {
    const char* table;
    bool answers;   // the time chart and the mistakes sheet read it
    bool report;    // the report reads it
    bool children;  // the list of children is read from it
};

TEST(ParentCentreWindow, AJournalThatCannotBeReadIsToldNamingTheFileNotShownAsNoPractice) {
    const UnreadableCase cases[] = {
        {"answers", true, true, false},
        {"runs", false, true, false},  // the report's last read: what it read before is dropped
        {"children", false, false, true},
    };
    for (const UnreadableCase& c : cases) {
        SCOPED_TRACE(c.table);
        RecordedJournal journal;
        ASSERT_TRUE(journal.opened);
        ASSERT_GT(journal.journal.addChild(QStringLiteral("小明")), 0);
        practise(journal, 1);
        const QString path = journal.journal.filePath();
        const QString table = QString::fromLatin1(c.table);
        const QString error =
            QStringLiteral("读取练习记录失败：%1（no such table: %2）").arg(path, table);
        const auto toldIf = [&](bool failed) { return failed ? error : QString(); };
        Window w(journal);
        ASSERT_TRUE(w.showsCharts());
        ASSERT_EQ(testing::renameJournalTable(path, table, table + "_kept"), "");

        w.window.chooseExercise(12);
        EXPECT_EQ(w.timesTitle(), c.answers ? error : QStringLiteral("每题用时：12 20内退位减法"));
        EXPECT_EQ(w.status(), toldIf(c.answers));
        w.window.setSpan(ReportSpan::All);
        EXPECT_EQ(w.window.report().error, toldIf(c.report));
        EXPECT_EQ(w.window.report().asked == 0, c.report);
        EXPECT_EQ(w.empty()->isVisibleTo(&w.window), c.report);
        EXPECT_EQ(w.empty()->text().startsWith(error), c.report) << w.empty()->text().toStdString();
        EXPECT_FALSE(w.empty()->text().contains(QStringLiteral("还没有练习记录")));
        EXPECT_EQ(w.showsCharts(), !c.report);
        EXPECT_EQ(w.status(), toldIf(c.report || c.answers));
        const ParentReport report = ParentReport::load(journal.queries, 1, {});
        EXPECT_EQ(report.error, toldIf(c.report));
        EXPECT_EQ(report.asked == 0, c.report);
        EXPECT_EQ(report.exercises.size(), 37);
        if (c.answers) {
            w.window.openMistakesSheet();  // no sheet of no mistakes
            EXPECT_EQ(w.window.printPreview(), nullptr);
            EXPECT_EQ(w.status(), error);
        }
        // A window opened meanwhile says so whatever it could not read.
        ParentCentreWindow late(journal.queries, ReportSpan::All, [] { return kNow; });
        auto* lateStatus = late.findChild<QLabel*>(QStringLiteral("标签_提示"));
        auto* lateChildren = late.findChild<QComboBox*>(QStringLiteral("组合框_孩子"));
        EXPECT_EQ(lateStatus->text(), error);
        EXPECT_EQ(lateChildren->count(), c.children ? 1 : 2);

        // Readable again, both show the practice and the failure is no longer told.
        ASSERT_EQ(testing::renameJournalTable(path, table + "_kept", table), "");
        w.window.setSpan(ReportSpan::Week);
        late.setSpan(ReportSpan::Week);
        EXPECT_EQ(w.window.report().error, "");
        EXPECT_TRUE(w.showsCharts());
        EXPECT_EQ(w.status(), "");
        EXPECT_EQ(late.report().asked, w.window.report().asked);
        EXPECT_EQ(lateStatus->text(), "");
        EXPECT_EQ(lateChildren->count(), 2);
    }
}

}  // namespace
}  // namespace sumbrook
