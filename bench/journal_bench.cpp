// The practice journal: what recording an answer costs the display step (median and
// worst of many), what the parent's window and the learning rules ask of a year of daily
// practice (100,000 answered questions), and how long an older journal of 1.2 million
// answers takes to be given its facts.
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

#include "journal/journal_recorder.h"
#include "journal/journal_schema.h"
#include "journal/practice_journal.h"
#include "support/sample_journal.h"

namespace sumbrook {
namespace {

constexpr int kDays = 365;
constexpr int kQuestionsPerDay = 274;  // 100,010 answers in the year

double threadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Times each call of `record` and reports the median, the 99th percentile and the worst
// in microseconds: of the wall clock (which on a busy machine includes time the thread
// was not running) and of this thread's own CPU time (the work of the call itself).
template <typename Record>
void timeEachCall(benchmark::State& state, Record record, std::chrono::microseconds pause) {
    std::vector<double> wall;
    std::vector<double> cpu;
    wall.reserve(static_cast<std::size_t>(state.max_iterations));
    cpu.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        const double cpuStart = threadCpuUs();
        const auto start = std::chrono::steady_clock::now();
        record();
        const auto end = std::chrono::steady_clock::now();
        cpu.push_back(threadCpuUs() - cpuStart);
        wall.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        if (pause.count() > 0) {
            std::this_thread::sleep_for(pause);
        }
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    state.counters["median_us"] = wall[wall.size() / 2];
    state.counters["p99_us"] = wall[wall.size() * 99 / 100];
    state.counters["worst_us"] = wall.back();
    state.counters["cpu_worst_us"] = cpu.back();
}

// One answer as the display step reports it: through the recorder, which stamps the time
// and hands the row to the writer thread. `pause` between answers: 0 floods the writer
// (every post meets it swapping the queue), 2 ms lets each answer be committed (and
// synced) while the next is being given.
void BM_RecordAnswer(benchmark::State& state) {
    QTemporaryDir dir;
    auto journal = std::make_shared<PracticeJournal>(dir.path());
    journal->open();
    JournalRecorder recorder(journal, 1);
    AnswerReport report;
    report.xiangm = 7;
    report.shown = QStringLiteral("7 + 8 = □");
    report.expected = QStringLiteral("15");
    report.typed = QStringLiteral("14");
    report.ms = 5400;
    report.fact =
        factOf(TwoNumberQuestion{QStringLiteral("7"), QStringLiteral("+"), QStringLiteral("8"),
                                 QString(), BlankPosition::Result, 15});
    timeEachCall(
        state, [&] { recorder.answered(report); }, std::chrono::microseconds(state.range(0)));
    journal->waitForWrites();
}
BENCHMARK(BM_RecordAnswer)->Arg(0)->Iterations(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordAnswer)->Arg(2000)->Iterations(1500)->Unit(benchmark::kMicrosecond);

// A year of practice, made once for all the query benchmarks.
const QString& yearFolder() {
    static QTemporaryDir dir;
    static const bool made = [] {
        PracticeJournal journal(dir.path());
        journal.open();
        testing::fillSampleJournal(journal, 1, kDays, kQuestionsPerDay, 2026,
                                   QDateTime(QDate(2026, 12, 1), QTime(20, 0)));
        journal.waitForWrites();
        return true;
    }();
    (void)made;
    static const QString path = dir.path();
    return path;
}

// What the parent's window asks when it opens on a span: the journal opened, the days,
// the table of exercises, the times of one exercise and the facts most often missed.
void BM_ParentWindowOpens(benchmark::State& state) {
    const QString folder = yearFolder();
    const QDateTime end(QDate(2026, 12, 2), QTime(0, 0));
    const JournalSpan span =
        state.range(0) == 0 ? JournalSpan{} : JournalSpan{end.addDays(-state.range(0)), end};
    std::int64_t rows = 0;
    for (auto _ : state) {
        PracticeJournal journal(folder);
        journal.open();
        const auto days = journal.dailyTallies(1, span);
        const auto tallies = journal.exerciseTallies(1, span);
        const auto busiest = std::max_element(
            tallies.begin(), tallies.end(),
            [](const ExerciseTally& a, const ExerciseTally& b) { return a.tried < b.tried; });
        const auto times = journal.answerTimes(1, busiest->exercise, span);
        const auto facts = journal.missedFacts(1, span, 20);
        rows = 0;
        for (const ExerciseTally& t : tallies) {
            rows += t.tried;
        }
        benchmark::DoNotOptimize(days.size() + times.size() + facts.size());
    }
    state.counters["answers_in_span"] = static_cast<double>(rows);
}
BENCHMARK(BM_ParentWindowOpens)->Arg(0)->Arg(30)->Arg(7)->Unit(benchmark::kMillisecond);

// Opening alone: the file checked and its schema steps read.
void BM_OpenJournal(benchmark::State& state) {
    const QString folder = yearFolder();
    for (auto _ : state) {
        PracticeJournal journal(folder);
        benchmark::DoNotOptimize(journal.open());
    }
}
BENCHMARK(BM_OpenJournal)->Unit(benchmark::kMillisecond);

// Each query on its own, over the whole year.
void BM_Query(benchmark::State& state) {
    PracticeJournal journal(yearFolder());
    journal.open();
    for (auto _ : state) {
        switch (state.range(0)) {
            case 0:
                benchmark::DoNotOptimize(journal.dailyTallies(1, {}).size());
                break;
            case 1:
                benchmark::DoNotOptimize(journal.exerciseTallies(1, {}).size());
                break;
            case 2:
                benchmark::DoNotOptimize(journal.answerTimes(1, 12, {}).size());
                break;
            case 3:
                benchmark::DoNotOptimize(journal.missedFacts(1, {}, 20).size());
                break;
            case 4:
                benchmark::DoNotOptimize(journal.answers(1, {}).size());
                break;
            default:
                benchmark::DoNotOptimize(journal.factAnswers(1).size());
                break;
        }
    }
    static const char* const kNames[] = {"dailyTallies", "exerciseTallies", "answerTimes",
                                         "missedFacts",  "answers",         "factAnswers"};
    state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_Query)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// An older journal (schema step 2, text only) of `range(0)` answers, the practice's own
// texts over and over, opened: its third step reads every row's text into fields.
void BM_OlderJournalTakesItsFacts(benchmark::State& state) {
    const auto answers = state.range(0);
    std::vector<std::pair<int, Question>> questions;
    SeededUniformSource source(7);
    for (int i = 0; i < 5000; ++i) {
        const int exercise = 1 + i % 37;
        questions.emplace_back(exercise, QuestionGenerator::generate(exercise, source));
    }
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "older");
            db.setDatabaseName(dir.filePath(PracticeJournal::kFileName));
            db.open();
            QSqlError error;
            JournalSchema::migrate(db, error, 2);
            db.transaction();
            QSqlQuery insert(db);
            insert.prepare(
                "INSERT INTO answers (child, at_ms, day, exercise, shown, expected, typed,"
                " right, ms) VALUES (1, ?, '2026-01-01', ?, ?, ?, '', 1, 4000)");
            for (qint64 i = 0; i < answers; ++i) {
                const auto& [exercise, q] = questions[static_cast<std::size_t>(i) % 5000];
                insert.bindValue(0, 1'700'000'000'000 + i * 5000);
                insert.bindValue(1, exercise);
                insert.bindValue(2, shownQuestionText(q));
                insert.bindValue(3, expectedAnswerText(q));
                insert.exec();
            }
            insert.finish();
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase("older");
        state.ResumeTiming();
        PracticeJournal journal(dir.path());
        benchmark::DoNotOptimize(journal.open());
    }
    state.counters["answers"] = static_cast<double>(answers);
}
BENCHMARK(BM_OlderJournalTakesItsFacts)
    ->Arg(1'200'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sumbrook

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
