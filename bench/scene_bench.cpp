// Time to paint one frame of each screen of the practice scene: drawn from nothing (the
// backdrop too, as on the first frame of a screen), whole over the cached backdrop (as
// after any change of what the screen shows) at 800 × 600 and at 1920 × 1440, and as the
// scene widget repaints it at an idle step (the moving parts only). Counters: pixels
// repainted per idle step.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "common/monotonic_clock.h"
#include "common/uniform_source.h"
#include "moviehost/movie_bytes.h"
#include "practice/core/exercise_catalogue.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_bundle.h"
#include "practice/scene/silent_sound_channel.h"
#include "practice/scene/stage_frame.h"

namespace sumbrook {
namespace {

// A stage brought to one screen: its name and the clicks that lead there from the menu.
struct Journey {
    const char* name;
    std::vector<const char*> clicks;
    int extraSteps = 0;
};

const std::vector<Journey>& journeys() {
    static const std::vector<Journey> all{
        {"stat", {}, -PracticeLoop::kIntroSteps + 5},
        {"zhongmulu", {}},
        {"mulu1", {"自选模式"}},
        {"mulu2", {"自选模式", "下页"}},
        {"jia", {"自选模式", "10以内填空"}},
        {"lianjia", {"自选模式", "下页", "20内加减混合"}},
        {"rmb", {"自选模式", "下页", "认识人民币"}},
        {"shijian", {"自选模式", "下页", "认识时间"}},
        {"chuo", {"自选模式", "10以内加法", "确定"}},
        {"youxi1", {"游戏模式"}},
        {"settings", {"设置"}, PracticeLoop::kPanelSlideSteps},
        {"box", {"游戏模式", "重新开始"}},
    };
    return all;
}

class Fixture {
  public:
    explicit Fixture(const Journey& journey)
        : store_(dir_.path()),
          source_(7),
          stage_(store_, std::make_unique<SilentSoundChannel>(), source_, clock_) {
        stage_.start();
        for (int i = 0; i < PracticeLoop::kIntroSteps + journey.extraSteps; ++i) {
            stage_.step();
        }
        for (const char* caption : journey.clicks) {
            stage_.click(QString::fromUtf8(caption));
        }
        for (int i = 0; journey.extraSteps > 0 && i < journey.extraSteps; ++i) {
            stage_.step();
        }
    }
    PracticeStage& stage() { return stage_; }

  private:
    QTemporaryDir dir_;
    ProgressStore store_;
    SeededUniformSource source_;
    SteadyClock clock_;
    PracticeStage stage_;
};

void BM_PaintWholeFrame(benchmark::State& state) {
    const Journey& journey = journeys()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(journey.name);
    Fixture fixture(journey);
    QImage frame(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&frame);
        fixture.stage().paint(painter);
    }
}

// A whole frame over the cached backdrop, on a device `width` pixels wide.
void BM_PaintCachedFrame(benchmark::State& state) {
    const Journey& journey = journeys()[static_cast<std::size_t>(state.range(0))];
    const int width = static_cast<int>(state.range(1));
    state.SetLabel(journey.name);
    Fixture fixture(journey);
    const QRectF stage(0, 0, width, width * 3 / 4);
    QPixmap frame(stage.size().toSize());
    StageFrame cache;
    {
        QPainter painter(&frame);
        cache.paint(painter, fixture.stage(), stage, 1.0, stage);  // the backdrop drawn
    }
    for (auto _ : state) {
        QPainter painter(&frame);
        cache.paint(painter, fixture.stage(), stage, 1.0, stage);
    }
    state.counters["backdrops"] = cache.backdropsDrawn();
}

// An idle step as the widget repaints it: the stage steps on (the running time moves),
// and what it names as moving is repainted over the cached backdrop.
void BM_PaintIdleStep(benchmark::State& state) {
    const Journey& journey = journeys()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(journey.name);
    Fixture fixture(journey);
    const QRectF stage(0, 0, 800, 600);
    QPixmap frame(800, 600);
    StageFrame cache;
    {
        QPainter painter(&frame);
        cache.paint(painter, fixture.stage(), stage, 1.0, stage);
    }
    double pixels = 0;
    std::int64_t steps = 0;
    for (auto _ : state) {
        fixture.stage().step();
        QPainter painter(&frame);
        for (const QRectF& moving : fixture.stage().movingRects()) {
            const QRect part = moving.toAlignedRect().adjusted(-2, -2, 2, 2);
            pixels += part.width() * part.height();
            cache.paint(painter, fixture.stage(), stage, 1.0, part);
        }
        ++steps;
    }
    state.counters["pixels"] = pixels / std::max<std::int64_t>(1, steps);
}

constexpr int kJourneys = 12;
BENCHMARK(BM_PaintWholeFrame)->DenseRange(0, kJourneys - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintCachedFrame)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kJourneys - 1, 1), {800, 1920}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintIdleStep)->DenseRange(0, kJourneys - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sumbrook

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const sumbrook::SceneBundle movie(sumbrook::movieBytes());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
