// The parent's window over forty days of generated practice: what it shows adds up to the
// journal's rows, counted one by one.
#include <gtest/gtest.h>

#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "parent/parent_centre_window.h"
#include "parent/parent_charts.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"
#include "support/sample_journal.h"

namespace sumbrook {
namespace {

const QDateTime kEnd(QDate(2026, 12, 9), QTime(18, 30));

struct Counts {
    int asked = 0;
    int right = 0;
    std::vector<std::int64_t> ms;

    // The middle time, or halfway between the middle two.
    std::int64_t median() const {
        std::vector<std::int64_t> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        return n % 2 == 1 ? sorted[n / 2] : std::llround((sorted[n / 2 - 1] + sorted[n / 2]) / 2.0);
    }
};

// What the journal holds for one child, counted from its rows one by one.
std::map<int, Counts> countByExercise(const PracticeJournal& journal, int child,
                                      const JournalSpan& span) {
    std::map<int, Counts> out;
    for (const AnsweredQuestion& a : journal.answers(child, span)) {
        ++out[a.exercise].asked;
        out[a.exercise].right += a.right ? 1 : 0;
        out[a.exercise].ms.push_back(a.ms);
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

TEST(ParentCentreOverTheJournal, TablesAndChartsAddUpToTheJournalsRows) {
    testing::RecordedJournal recorded;
    ASSERT_TRUE(recorded.opened);
    const PracticeJournal& journal = recorded.journal;
    constexpr int child = PracticeJournal::kFirstChildId;
    testing::fillSampleJournal(recorded.journal, child, 40, 30, 7, kEnd);
    recorded.journal.waitForWrites();

    ParentCentreWindow window(recorded.queries, ReportSpan::Week, [] { return kEnd; });
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("表格_练习"));
    for (const ReportSpan span : {ReportSpan::Week, ReportSpan::Month, ReportSpan::All}) {
        window.setSpan(span);
        SCOPED_TRACE(reportSpanName(span).toStdString());
        const JournalSpan js = journalSpanOf(span, kEnd);
        const auto counts = countByExercise(journal, child, js);
        int total = 0;
        for (int e = 1; e <= 37; ++e) {
            const auto it = counts.find(e);
            const Counts c = it == counts.end() ? Counts{} : it->second;
            total += c.asked;
            const int row =
                table->findItems(QStringLiteral("%1 ").arg(e), Qt::MatchStartsWith)[0]->row();
            EXPECT_EQ(table->item(row, 1)->text(), QString::number(c.asked)) << e;
            EXPECT_EQ(table->item(row, 2)->text(), ParentReport::percentText(c.right, c.asked))
                << e;
            EXPECT_EQ(table->item(row, 3)->text(),
                      c.asked > 0 ? ParentReport::secondsText(c.median()) : "—")
                << e;
        }
        EXPECT_EQ(window.report().asked, total);
        EXPECT_EQ(chartedQuestions(window), total);
        // Every fact in the table of most missed was missed by this child as counted, in
        // whichever exercise it was asked.
        for (const MissedFact& f : window.report().mostMissed) {
            int asked = 0;
            int missed = 0;
            for (const AnsweredQuestion& a : journal.answers(child, js)) {
                if (a.fact && a.fact == f.fact) {
                    ++asked;
                    missed += a.right ? 0 : 1;
                }
            }
            EXPECT_EQ(f.asked, asked) << f.shown.toStdString();
            EXPECT_EQ(f.missed, missed) << f.shown.toStdString();
            EXPECT_GT(missed, 0);
        }
    }
    EXPECT_EQ(window.report().asked, 40 * 30);
}

}  // namespace
}  // namespace sumbrook
