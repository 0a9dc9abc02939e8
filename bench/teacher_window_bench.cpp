// The teacher's window opening over a made-up term on a throwaway class server: 40 pupils,
// 60 school days, 80 answers a day each (192,000 answers). "Open" is timed from creating
// the window to its first pages filled: the class list and the first pupil's report read,
// the lesson's tiles read on their thread and shown. Target: under 1 s. The "全班" page,
// read on its own thread when first shown, is the counter class_page_ms (from creating the
// window, so it includes the opening); the window answers the teacher meanwhile.
//   bench_teacher_window [benchmark options]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <optional>

#include "classroom/class_connection.h"
#include "classroom/class_setup.h"
#include "classroom/server_class_queries.h"
#include "classroom/server_pupil_queries.h"
#include "support/class_term.h"
#include "support/pg_test_server.h"
#include "teacher/class_page.h"
#include "teacher/lesson_board.h"
#include "teacher/server_lesson_source.h"
#include "teacher/teacher_window.h"

namespace {

using namespace sumbrook;

constexpr int kPupils = 40;

std::optional<ConnectionString> teacherLogin;

void BM_OpenTeacherWindow(benchmark::State& state) {
    ClassConnection connection(*teacherLogin);
    if (!connection.open()) {
        state.SkipWithError(qPrintable(connection.error()));
        return;
    }
    ServerClassQueries queries(connection.database());
    ServerPupilQueries pupils(connection.database());
    double built = 0;
    double tiles = 0;
    double classPage = 0;
    for (auto _ : state) {
        QElapsedTimer opening;
        opening.start();
        TeacherWindow window(queries, pupils, serverLessonSource(*teacherLogin));
        built += static_cast<double>(opening.nsecsElapsed()) / 1e6;
        while (window.board()->tileCount() < kPupils && opening.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::usleep(200);
        }
        tiles += static_cast<double>(opening.nsecsElapsed()) / 1e6;
        state.SetIterationTime(static_cast<double>(opening.nsecsElapsed()) / 1e9);
        window.showPage(QStringLiteral("全班"));
        while (!window.classPage()->filled() && opening.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::usleep(200);
        }
        classPage += static_cast<double>(opening.nsecsElapsed()) / 1e6;
        if (window.board()->tileCount() < kPupils || !window.classPage()->filled()) {
            state.SkipWithError("the window did not fill its first pages");
            return;
        }
    }
    // Where the time goes: the window built (the list and the first pupil's report read),
    // the lesson's tiles shown (the time measured), then the class's page read.
    const auto n = static_cast<double>(state.iterations());
    state.counters["built_ms"] = built / n;
    state.counters["tiles_ms"] = tiles / n;
    state.counters["class_page_ms"] = classPage / n;
}
BENCHMARK(BM_OpenTeacherWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

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
        std::optional<ClassSetup::Logins> logins;
        if (owner.open()) {
            ClassSetup setup(owner);
            logins = setup.run();
        }
        QString error;
        QSqlDatabase db = owner.database();
        if (!logins || !sumbrook::testing::ClassTerm::fill(db, {kPupils, 60, 80, 20260901},
                                                           QDateTime::currentDateTime(), error)) {
            std::fprintf(stderr, "the term could not be set up: %s\n", qPrintable(error));
            pg.stop();
            return 1;
        }
        teacherLogin = ConnectionString::parse(logins->teacher, nullptr);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    pg.stop();
    return 0;
}
