// The teacher's window's reads on a made-up term (ClassTerm) of 40 pupils × 60 school
// days × 80 answers on a throwaway server, through the teacher's login. Targets: the
// term's heat map under 1 s, "now" under 100 ms, and the window's opening reads (pupils,
// heat map, most missed, fluency) under 1 s together. Writing the term is timed once.
//   bench_class_queries [PUPILS DAYS ANSWERS] [benchmark options]
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <array>
#include <cstdio>
#include <memory>

#include "classroom/class_connection.h"
#include "classroom/class_setup.h"
#include "classroom/server_class_queries.h"
#include "support/class_term.h"
#include "support/pg_test_server.h"

namespace {

using namespace sumbrook;

ServerClassQueries* queries = nullptr;
QDateTime now;

void BM_HeatMapOfTheTerm(benchmark::State& state) {
    for (auto _ : state) {
        const ClassHeatMap map = queries->heatMap({});
        benchmark::DoNotOptimize(map.cells.data());
    }
}
BENCHMARK(BM_HeatMapOfTheTerm)->Unit(benchmark::kMillisecond);

void BM_LessonNow(benchmark::State& state) {
    for (auto _ : state) {
        const QVector<PupilNow> tiles = queries->lessonNow(now);
        benchmark::DoNotOptimize(tiles.data());
    }
}
BENCHMARK(BM_LessonNow)->Unit(benchmark::kMillisecond);

void BM_MostMissedOfTheTerm(benchmark::State& state) {
    for (auto _ : state) {
        const QVector<ClassMissedFact> facts = queries->mostMissed({}, 20);
        benchmark::DoNotOptimize(facts.data());
    }
}
BENCHMARK(BM_MostMissedOfTheTerm)->Unit(benchmark::kMillisecond);

void BM_Fluency(benchmark::State& state) {
    for (auto _ : state) {
        const ClassFluency fluency = queries->fluency();
        benchmark::DoNotOptimize(fluency.pupils);
    }
}
BENCHMARK(BM_Fluency)->Unit(benchmark::kMillisecond);

// What the teacher's window reads as it opens, with each read's share as a counter (ms).
void BM_WindowOpening(benchmark::State& state) {
    std::array<double, 4> ms{};
    QElapsedTimer timer;
    const auto lap = [&timer](double& total) {
        total += static_cast<double>(timer.nsecsElapsed()) / 1e6;
        timer.restart();
    };
    for (auto _ : state) {
        timer.start();
        const QVector<ListedPupil> pupils = queries->pupils();
        lap(ms[0]);
        const ClassHeatMap map = queries->heatMap({});
        lap(ms[1]);
        const QVector<ClassMissedFact> facts = queries->mostMissed({}, 20);
        lap(ms[2]);
        const ClassFluency fluency = queries->fluency();
        lap(ms[3]);
        benchmark::DoNotOptimize(pupils.data());
        benchmark::DoNotOptimize(map.cells.data());
        benchmark::DoNotOptimize(facts.data());
        benchmark::DoNotOptimize(fluency.pupils);
    }
    const char* names[] = {"pupils_ms", "heat_map_ms", "most_missed_ms", "fluency_ms"};
    for (std::size_t i = 0; i < ms.size(); ++i) {
        state.counters[names[i]] =
            benchmark::Counter(ms[i] / static_cast<double>(state.iterations()));
    }
}
BENCHMARK(BM_WindowOpening)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    sumbrook::testing::ClassTerm::Shape shape;
    if (argc == 4) {
        shape.pupils = QString::fromLocal8Bit(argv[1]).toInt();
        shape.days = QString::fromLocal8Bit(argv[2]).toInt();
        shape.answersPerDay = QString::fromLocal8Bit(argv[3]).toInt();
    }
    sumbrook::testing::PgTestServer pg;
    if (!pg.start()) {
        std::fprintf(stderr, "no PostgreSQL server: %s\n", qPrintable(pg.reason()));
        return 1;
    }
    const QString admin = pg.createDatabase(QStringLiteral("term"));
    ClassConnection owner(*ConnectionString::parse(admin, nullptr));
    std::optional<ClassSetup::Logins> logins;
    if (owner.open()) {
        ClassSetup setup(owner);
        logins = setup.run();
    }
    if (!logins) {
        std::fprintf(stderr, "the class could not be set up\n");
        pg.stop();
        return 1;
    }
    now = QDateTime::currentDateTime();
    QElapsedTimer timer;
    timer.start();
    QString error;
    QSqlDatabase db = owner.database();
    const auto filled = sumbrook::testing::ClassTerm::fill(db, shape, now, error);
    if (!filled) {
        std::fprintf(stderr, "the term was not written: %s\n", qPrintable(error));
        pg.stop();
        return 1;
    }
    std::printf(
        "term of %d pupils × %d days × %d answers: %lld answers, %lld runs written in"
        " %.1f s\n",
        shape.pupils, shape.days, shape.answersPerDay, static_cast<long long>(filled->answers),
        static_cast<long long>(filled->runs), static_cast<double>(timer.elapsed()) / 1000);
    std::fflush(stdout);
    {
        ClassConnection teacher(*ConnectionString::parse(logins->teacher, nullptr));
        if (!teacher.open()) {
            std::fprintf(stderr, "%s\n", qPrintable(teacher.error()));
            pg.stop();
            return 1;
        }
        ServerClassQueries reads(teacher.database());
        queries = &reads;
        benchmark::RunSpecifiedBenchmarks();
        queries = nullptr;
    }
    benchmark::Shutdown();
    pg.stop();
    return 0;
}
