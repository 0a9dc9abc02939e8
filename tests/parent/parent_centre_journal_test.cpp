// The parent's window over the real journal, filled with generated practice.
#include <gtest/gtest.h>

#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QTableWidget>
#include <QTemporaryDir>
#include <map>

#include "parent/parent_centre_window.h"
#include "parent/parent_charts.h"
#include "parent/practice_journal_queries.h"
#include "support/qstring_printer.h"
#include "support/sample_journal.h"

namespace sumbrook {
namespace {

const QDateTime kEnd(QDate(2026, 12, 9), QTime(18, 30));

struct Counts {
    int asked = 0;
    int right = 0;
};

// What the journal holds for one child, counted from its rows one by one.
std::map<int, Counts> countByExercise(const PracticeJournal& journal, int child,
                                      const JournalSpan& span) {
    std::map<int, Counts> out;
    for (const AnsweredQuestion& a : journal.answers(child, span)) {
        ++out[a.exercise].asked;
        out[a.exercise].right += a.right ? 1 : 0;
    }
    return out;
}

int chartedQuestions(ParentCentreWindow& window) {
    auto* view = window.findChild<QChartView*>(QStringLiteral("图表_每日"));
    for (QAbstractSeries* s : view->chart()->series()) {
        if (s->name() == ParentCharts::askedSeriesName()) {
            qreal sum = 0;
            for (const QPointF& p : static_cast<QLineSeries*>(s)->points()) {
                sum += p.y();
            }
            return qRound(sum);
        }
    }
    return -1;
}

TEST(ParentCentreOverTheJournal, TablesAndChartsShowEachChildsOwnPractice) {
    QTemporaryDir dir;
    PracticeJournal journal(dir.path());
    ASSERT_TRUE(journal.open());
    const int second = journal.addChild(QStringLiteral("小明"));
    ASSERT_GT(second, 0);
    testing::fillSampleJournal(journal, PracticeJournal::kFirstChildId, 40, 30, 7, kEnd);
    testing::fillSampleJournal(journal, second, 10, 90, 8, kEnd);
    journal.waitForWrites();

    PracticeJournalQueries queries(journal);
    ParentCentreWindow window(queries);
    window.setClock([] { return kEnd; });
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("表格_练习"));
    for (const ReportSpan span : {ReportSpan::Week, ReportSpan::Month, ReportSpan::All}) {
        window.setSpan(span);
        for (const int child : {PracticeJournal::kFirstChildId, second}) {
            SCOPED_TRACE(
                QStringLiteral("%1 child %2").arg(reportSpanName(span)).arg(child).toStdString());
            window.chooseChild(child);
            const JournalSpan js = journalSpanOf(span, kEnd);
            const auto counts = countByExercise(journal, child, js);
            int total = 0;
            for (int e = 1; e <= 37; ++e) {
                const auto it = counts.find(e);
                const Counts c = it == counts.end() ? Counts{} : it->second;
                total += c.asked;
                EXPECT_EQ(table->item(e - 1, 1)->text(), QString::number(c.asked)) << e;
                EXPECT_EQ(table->item(e - 1, 2)->text(),
                          ParentReport::percentText(c.right, c.asked))
                    << e;
            }
            EXPECT_EQ(window.report().asked, total);
            EXPECT_EQ(chartedQuestions(window), total);
            // Every fact in the table of most missed was missed by this child as counted.
            for (const MissedFact& f : window.report().mostMissed) {
                int asked = 0;
                int missed = 0;
                for (const AnsweredQuestion& a : journal.answers(child, js)) {
                    if (a.exercise == f.exercise && a.shown == f.shown) {
                        ++asked;
                        missed += a.right ? 0 : 1;
                    }
                }
                EXPECT_EQ(f.asked, asked) << f.shown.toStdString();
                EXPECT_EQ(f.missed, missed) << f.shown.toStdString();
                EXPECT_GT(missed, 0);
            }
        }
    }
    // The two children practised different amounts: 40 × 30 and 10 × 90 questions.
    window.chooseChild(PracticeJournal::kFirstChildId);
    EXPECT_EQ(window.report().asked, 1200);
    window.chooseChild(second);
    EXPECT_EQ(window.report().asked, 900);
}

}  // namespace
}  // namespace sumbrook
