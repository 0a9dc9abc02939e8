// Time to paint one frame of each screen of the practice scene, whole (as after a change
// of screen) and as the scene widget repaints it while nothing changes (the cached
// scenery plus the moving parts).
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

void BM_PaintIdleFrame(benchmark::State& state) {
    const Journey& journey = journeys()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(journey.name);
    Fixture fixture(journey);
    QImage backdrop(800, 600, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&backdrop);
        fixture.stage().paintBackdrop(painter);
    }
    QImage frame(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&frame);
        for (const QRectF& moving : fixture.stage().movingRects()) {
            painter.save();
            painter.setClipRect(moving);
            painter.drawImage(0, 0, backdrop);
            fixture.stage().paintForeground(painter);
            painter.restore();
        }
    }
}

BENCHMARK(BM_PaintWholeFrame)->DenseRange(0, 10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintIdleFrame)->DenseRange(0, 10)->Unit(benchmark::kMicrosecond);

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
