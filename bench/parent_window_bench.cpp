// The parent's window opening on a large journal: a year of daily practice, about
// 100,000 answered questions. Opening reads the chosen span's report in one go and draws
// nothing more; "open" counts from constructing the window to its first painted frame.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>

#include "parent/fact_map_view.h"
#include "parent/parent_centre_window.h"
#include "parent/practice_journal_queries.h"
#include "support/sample_journal.h"

namespace {

constexpr int kDays = 365;
constexpr int kPerDay = 274;  // 365 × 274 = 100,010 questions

const QDateTime kEnd(QDate(2026, 12, 9), QTime(18, 30));

struct LargeJournal {
    LargeJournal() : journal(dir.path()), queries(journal) {
        journal.open();
        sumbrook::testing::fillSampleJournal(journal, sumbrook::PracticeJournal::kFirstChildId,
                                             kDays, kPerDay, 2026, kEnd);
        journal.waitForWrites();
    }
    QTemporaryDir dir;
    sumbrook::PracticeJournal journal;
    sumbrook::PracticeJournalQueries queries;
};

LargeJournal& largeJournal() {
    static LargeJournal journal;
    return journal;
}

void countQuestions(benchmark::State& state, const sumbrook::ParentReport& report) {
    state.counters["questions"] = static_cast<double>(report.asked);
}

// Reading the report only: the journal's queries for one child and span.
void BM_ReadReport(benchmark::State& state) {
    LargeJournal& large = largeJournal();
    const auto span = static_cast<sumbrook::ReportSpan>(state.range(0));
    sumbrook::ParentReport report;
    for (auto _ : state) {
        report =
            sumbrook::ParentReport::load(large.queries, sumbrook::PracticeJournal::kFirstChildId,
                                         sumbrook::journalSpanOf(span, kEnd));
        benchmark::DoNotOptimize(report.asked);
    }
    countQuestions(state, report);
}

// Each of the journal's queries over everything: 0 days, 1 exercises, 2 missed facts,
// 3 the times of the most practised exercise, 4 every answer.
void BM_QueryAll(benchmark::State& state) {
    LargeJournal& large = largeJournal();
    const sumbrook::JournalSpan span = sumbrook::journalSpanOf(sumbrook::ReportSpan::All, kEnd);
    const int child = sumbrook::PracticeJournal::kFirstChildId;
    qsizetype rows = 0;
    for (auto _ : state) {
        switch (state.range(0)) {
            case 0:
                rows = large.queries.dailyTallies(child, span).size();
                break;
            case 1:
                rows = large.queries.exerciseTallies(child, span).size();
                break;
            case 2:
                rows = large.queries.missedFacts(child, span, sumbrook::ParentReport::kMissedAsked)
                           .size();
                break;
            case 3:
                rows = large.queries.answerTimes(child, 3, span).size();
                break;
            default:
                rows = large.journal.answers(child, span).size();
                break;
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
}

// The whole window: built on the span, the report read, and painted once.
void BM_OpenWindow(benchmark::State& state) {
    LargeJournal& large = largeJournal();
    const auto span = static_cast<sumbrook::ReportSpan>(state.range(0));
    int asked = 0;
    for (auto _ : state) {
        sumbrook::ParentCentreWindow window(large.queries, span, [] { return kEnd; });
        const QPixmap frame = window.grab();
        benchmark::DoNotOptimize(frame.cacheKey());
        asked = window.report().asked;
    }
    state.counters["questions"] = asked;
}

// The fact map page over the year: every answer by fact read, the facts' states and boxes
// worked out, and the page painted.
void BM_OpenFactMap(benchmark::State& state) {
    LargeJournal& large = largeJournal();
    sumbrook::ParentCentreWindow window(large.queries, sumbrook::ReportSpan::Week,
                                        [] { return kEnd; });
    window.resize(1180, 800);
    for (auto _ : state) {
        window.showFactMap();
        const QPixmap frame = window.factMapView()->grab();
        benchmark::DoNotOptimize(frame.cacheKey());
    }
}

// Span 0 this week, 1 this month, 2 everything (the 100,000 questions).
BENCHMARK(BM_QueryAll)->DenseRange(0, 4)->ArgName("query")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadReport)->DenseRange(0, 2)->ArgName("span")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWindow)->DenseRange(0, 2)->ArgName("span")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFactMap)->Unit(benchmark::kMillisecond);

}  // namespace
