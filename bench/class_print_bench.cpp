// The class's printouts over a made-up term on a throwaway class server (40 pupils × 60
// school days × 80 answers, tests/support/class_term): every pupil's mistakes sheet with
// its key as one PDF, and the week's report as PDF, each read through the teacher's login
// as `sumbrook class sheets` and `sumbrook class report` read it. The target is under 10 s
// for the two together.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "classroom/class_connection.h"
#include "classroom/class_setup.h"
#include "classroom/server_class_queries.h"
#include "classroom/server_pupil_queries.h"
#include "support/class_term.h"
#include "support/pg_test_server.h"
#include "teacher/print/class_sheets.h"
#include "teacher/print/week_report.h"

namespace {

using namespace sumbrook;

QString teacherLogin;
QDateTime termEnd;

struct Teacher {
    Teacher() : connection(*ConnectionString::parse(teacherLogin, nullptr)) {
        opened = connection.open();
    }
    ClassConnection connection;
    bool opened = false;
};

void sheets(Teacher& teacher, const QString& pdf, benchmark::State& state) {
    const ServerClassQueries list(teacher.connection.database());
    const ServerPupilQueries pupils(teacher.connection.database());
    const ClassSheets made = ClassSheets::build(list, pupils, termEnd, 7);
    QString error;
    if (!made.error().isEmpty() || !made.writePdf(pdf, &error)) {
        state.SkipWithError(qPrintable(made.error() + error));
    }
    state.counters["pages"] = static_cast<double>(made.pages().size());
}

void report(Teacher& teacher, const QString& pdf, benchmark::State& state) {
    const ServerClassQueries list(teacher.connection.database());
    const ServerPupilQueries pupils(teacher.connection.database());
    const WeekReport made = WeekReport::build(list, pupils, WeekReport::weekOf(termEnd.date()));
    QString error;
    if (!made.error().isEmpty() || !made.writePdf(pdf, &error)) {
        state.SkipWithError(qPrintable(made.error() + error));
    }
    state.counters["pupils"] = static_cast<double>(made.rows().size());
}

void BM_ClassSheetsPdf(benchmark::State& state) {
    Teacher teacher;
    QTemporaryDir dir;
    for (auto _ : state) {
        sheets(teacher, dir.filePath("sheets.pdf"), state);
    }
}
BENCHMARK(BM_ClassSheetsPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WeekReportPdf(benchmark::State& state) {
    Teacher teacher;
    QTemporaryDir dir;
    for (auto _ : state) {
        report(teacher, dir.filePath("report.pdf"), state);
    }
}
BENCHMARK(BM_WeekReportPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The target: both printouts of the class, one after the other, under 10 s.
void BM_BothPrintouts(benchmark::State& state) {
    Teacher teacher;
    QTemporaryDir dir;
    for (auto _ : state) {
        sheets(teacher, dir.filePath("sheets.pdf"), state);
        report(teacher, dir.filePath("report.pdf"), state);
    }
}
BENCHMARK(BM_BothPrintouts)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    sumbrook::testing::PgTestServer pg;
    if (!pg.start()) {
        std::fprintf(stderr, "no PostgreSQL server: %s\n", qPrintable(pg.reason()));
        return 1;
    }
    const QString admin = pg.createDatabase(QStringLiteral("term"));
    {
        ClassConnection owner(*ConnectionString::parse(admin, nullptr));
        if (!owner.open()) {
            std::fprintf(stderr, "%s\n", qPrintable(owner.error()));
            return 1;
        }
        ClassSetup setup(owner);
        const std::optional<ClassSetup::Logins> logins = setup.run();
        if (!logins) {
            std::fprintf(stderr, "%s\n", qPrintable(setup.error()));
            return 1;
        }
        teacherLogin = logins->teacher;
        termEnd = QDateTime::currentDateTime();
        QSqlDatabase db = owner.database();
        QString error;
        const auto filled = sumbrook::testing::ClassTerm::fill(
            db, sumbrook::testing::ClassTerm::Shape{}, termEnd, error);
        if (!filled) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::fprintf(stderr, "a term of %d pupils, %lld answers\n", filled->pupils,
                     static_cast<long long>(filled->answers));
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    pg.stop();
    return 0;
}
