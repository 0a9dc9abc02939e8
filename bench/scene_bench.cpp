// Time to paint one frame of each screen of the practice scene: drawn from nothing (the
// backdrop too, as on the first frame of a screen, its still art from the pictures kept
// of it), the same with no still art kept (the first sight of a screen at a window size),
// and whole over the cached backdrop (as after any change of what the screen shows), each
// at 800 × 600 and at 1920 × 1440, and
// as the scene widget repaints it at an idle step (the moving parts only). The idle
// step's counters: pixels and rectangles repainted per step, the share of the stage that
// is (area%), and the share of one core that painting at 12 steps a second takes (core%);
// and the idle question screen's window against a bare widget repainting the same text.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QWidget>
#include <ctime>

#include "common/monotonic_clock.h"
#include "common/uniform_source.h"
#include "moviehost/movie_bytes.h"
#include "practice/core/exercise_catalogue.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_bundle.h"
#include "practice/scene/scene_widget.h"
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

timespec threadTime() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t;
}

double threadSeconds(const timespec& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
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

// A frame drawn from nothing, on a device `width` pixels wide; with `keepNothing`, the
// still art is forgotten before each frame too.
void paintFromNothing(benchmark::State& state, bool keepNothing) {
    const Journey& journey = journeys()[static_cast<std::size_t>(state.range(0))];
    const int width = static_cast<int>(state.range(1));
    state.SetLabel(journey.name);
    Fixture fixture(journey);
    QImage frame(width, width * 3 / 4, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (keepNothing) {
            QPixmapCache::clear();
        }
        QPainter painter(&frame);
        painter.scale(width / 800.0, width / 800.0);
        fixture.stage().paint(painter);
    }
}

// The first frame of a screen, its still art drawn from the pictures kept of it.
void BM_PaintWholeFrame(benchmark::State& state) {
    paintFromNothing(state, false);
}

// The first time a screen shows at a size: nothing kept.
void BM_PaintFirstFrame(benchmark::State& state) {
    paintFromNothing(state, true);
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
    double rects = 0;
    std::int64_t steps = 0;
    const timespec started = threadTime();
    timespec used{};
    for (auto _ : state) {
        fixture.stage().step();
        QPainter painter(&frame);
        for (const QRectF& moving : fixture.stage().movingRects()) {
            const QRect part = moving.toAlignedRect().adjusted(-2, -2, 2, 2);
            pixels += part.width() * part.height();
            ++rects;
            cache.paint(painter, fixture.stage(), stage, 1.0, part);
        }
        ++steps;
    }
    const timespec stopped = threadTime();
    used.tv_sec = stopped.tv_sec - started.tv_sec;
    used.tv_nsec = stopped.tv_nsec - started.tv_nsec;
    const double perStep = 1.0 / static_cast<double>(std::max<std::int64_t>(1, steps));
    state.counters["pixels"] = pixels * perStep;
    state.counters["rects"] = rects * perStep;
    state.counters["area%"] = 100 * pixels * perStep / (800.0 * 600.0);
    // The CPU time the steps took over the seconds of idle screen they stand for: the
    // share of a core the stage's painting takes while the child thinks.
    state.counters["core%"] = 100 * threadSeconds(used) / (static_cast<double>(steps) / 12);
}

// A widget that repaints one line of text in a rectangle at each step, and nothing else:
// what Qt's widget path costs for the least a running time could need.
class BareTimeWidget : public QWidget {
  public:
    QRect timeRect;
    QString text;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(timeRect, Qt::white);
        painter.drawText(timeRect, Qt::AlignCenter, text);
    }
};

// The idle question screen as its window repaints it, step by step, against the bare
// widget repainting the running time's rectangle with the same text, both offscreen (the
// window system's share, the same for both, is left out). ratio: the scene's CPU per
// step over the bare widget's.
void BM_IdleWindowAgainstBareWidget(benchmark::State& state) {
    Fixture fixture(journeys()[4]);
    SceneWidget scene(fixture.stage());
    scene.resize(800, 600);
    scene.show();
    BareTimeWidget bare;
    bare.resize(800, 600);
    bare.show();
    QApplication::processEvents();
    double sceneSeconds = 0;
    double bareSeconds = 0;
    std::int64_t steps = 0;
    for (auto _ : state) {
        const timespec t0 = threadTime();
        scene.advance();
        QApplication::processEvents();
        const timespec t1 = threadTime();
        bare.timeRect = scene.lastRepaints().empty() ? QRect() : scene.lastRepaints().front();
        bare.text = fixture.stage().loop().runningTimeText();
        bare.update(bare.timeRect);
        QApplication::processEvents();
        const timespec t2 = threadTime();
        sceneSeconds += threadSeconds(t1) - threadSeconds(t0);
        bareSeconds += threadSeconds(t2) - threadSeconds(t1);
        ++steps;
    }
    const double perStep = 1e6 / static_cast<double>(std::max<std::int64_t>(1, steps));
    state.counters["scene_us"] = sceneSeconds * perStep;
    state.counters["bare_us"] = bareSeconds * perStep;
    state.counters["ratio"] = sceneSeconds / std::max(bareSeconds, 1e-9);
}

constexpr int kJourneys = 12;
BENCHMARK(BM_PaintWholeFrame)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kJourneys - 1, 1), {800, 1920}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFirstFrame)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kJourneys - 1, 1), {800, 1920}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintCachedFrame)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kJourneys - 1, 1), {800, 1920}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintIdleStep)->DenseRange(0, kJourneys - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleWindowAgainstBareWidget)->Unit(benchmark::kMicrosecond);

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
