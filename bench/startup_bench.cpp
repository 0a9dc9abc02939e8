// The start-up probe: from nothing to the main window's first painted frame (process-wide
// objects, skin module loaded from memory, the window with its theme, the movie named,
// served and registered, the scene's first frame), measured against painting one more
// frame of the same window. The counter `startup_in_frames` says how many frames' worth
// the start costs; it should stay a small number.
#include <benchmark/benchmark.h>
#include <QPixmap>
#include <QTemporaryDir>
#include <chrono>

#include "common/monotonic_clock.h"
#include "common/uniform_source.h"
#include "moviehost/scene_services.h"
#include "practice/core/progress_store.h"
#include "practice/scene/silent_sound_channel.h"
#include "shell/main_window.h"
#include "shell/shell_globals.h"

namespace sumbrook {
namespace {

using Clock = std::chrono::steady_clock;

SceneServices quietServices(const QString& dataDirectory) {
    SceneServices services;
    services.store = std::make_shared<ProgressStore>(dataDirectory);
    services.source = std::make_shared<SeededUniformSource>(1);
    services.clock = std::make_shared<SteadyClock>();
    services.soundChannel = [] { return std::make_unique<SilentSoundChannel>(); };
    return services;
}

void BM_StartUpToFirstFrame(benchmark::State& state) {
    QTemporaryDir programDirectory;
    QTemporaryDir dataDirectory;
    qputenv("SUMBROOK_PROGRAM_DIR", programDirectory.path().toLocal8Bit());
    std::chrono::duration<double> startUp{0};
    std::chrono::duration<double> frame{0};
    for (auto _ : state) {
        const Clock::time_point begin = Clock::now();
        ShellGlobals globals(quietServices(dataDirectory.path()));
        globals.LoadSkinModule();
        MainWindow window(globals);
        window.show();
        QPixmap first = window.grab();
        const Clock::time_point shown = Clock::now();
        QPixmap second = window.grab();
        const Clock::time_point again = Clock::now();
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
        startUp += shown - begin;
        frame += again - shown;
        globals.ShutdownRoutine();
    }
    state.counters["startup_in_frames"] = startUp.count() / frame.count();
    state.counters["startup_ms"] = 1000 * startUp.count() / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace sumbrook
