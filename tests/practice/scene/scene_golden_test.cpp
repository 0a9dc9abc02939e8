// Every screen of the practice scene and every mood of the bear, drawn from a fixed state
// (seeded draws, a clock that moves only when told, a fixed number of steps) and compared
// with the stored pictures under golden/. A change of look shows up here as a failing
// picture; a reviewed change is stored again with tools/update-golden-pictures
// (SUMBROOK_UPDATE_GOLDEN=1). On a failure the actual picture and a picture of the
// differing pixels are written to golden-failures/ in the test's working directory.
#include <gtest/gtest.h>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <functional>

#include "practice/core/clock_generator.h"
#include "practice/core/exercise_catalogue.h"
#include "practice/scene/mascot.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/stage_frame.h"
#include "practice/scene/stage_layout.h"
#include "support/fake_sound_channel.h"
#include "support/golden_picture.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"
#include "support/stage_picture.h"

namespace sumbrook {
namespace {

const testing::GoldenPictures& golden() {
    static const testing::GoldenPictures pictures(QStringLiteral(SUMBROOK_GOLDEN_DIR));
    return pictures;
}

void expectGolden(const QImage& picture, const QString& name) {
    golden().expect(picture, name);
}

int differingPixels(const QImage& a, const QImage& b) {
    return testing::GoldenPictures::differingPixels(a, b);
}

// A stage on a fresh store, with seeded draws and a still clock, shown the main menu.
class Scene {
  public:
    Scene() {
        stage = std::make_unique<PracticeStage>(
            store, std::make_unique<testing::FakeSoundChannel>(), source, clock);
        stage->start();
        steps(PracticeLoop::kIntroSteps);
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) {
            stage->step();
        }
    }
    Screen screen() const { return stage->loop().screen(); }
    void click(const char* caption) {
        ASSERT_TRUE(stage->click(QString::fromUtf8(caption))) << caption;
    }
    void typeNumber(const QString& digits) {
        for (const QChar c : digits) {
            ASSERT_TRUE(stage->click(QString(c)));
        }
    }
    void openExercise(int number) {
        if (screen() != Screen::Mulu1 && screen() != Screen::Mulu2) {
            click("自选模式");
        }
        if (ExerciseCatalogue::exercise(number).menuPage == 2 && screen() == Screen::Mulu1) {
            click("下页");
        }
        ASSERT_TRUE(stage->click(ExerciseCatalogue::title(number)));
    }
    // The expected answer typed (clock: both fields), or `wrong` in its place.
    void answer(bool right) {
        const Question& q = *stage->loop().question();
        const int expected = expectedAnswer(q);
        typeNumber(QString::number(right ? expected : expected + 1));
        click("确定");
        if (const auto* clockQuestion = std::get_if<ClockQuestion>(&q)) {
            typeNumber(
                QString::number(right ? clockQuestion->deshu0 : (clockQuestion->deshu0 + 30) % 60));
            click("确定");
        }
    }
    void completeExercise() {
        while (screen() != Screen::Fen100) {
            answer(true);
            if (screen() != Screen::Fen100) {
                click("下一题");
            }
        }
    }
    // Two facts due for review, the main menu asked again.
    void offerReview() {
        const std::vector<ReviewQuestion> due{
            {TwoNumberQuestion{"7", "+", "", "15", BlankPosition::Right, 8}, 13},
            {ClockGenerator::forTime(3, 15), 36}};
        stage->loop().setReviewSource([due] { return due; });
        stage->loop().refreshReview();
    }
    // The pointer taken off the stage and the sparkle trail left to die down, so that
    // only the screen itself is in the picture.
    void settle() {
        stage->pointerMoved(QPointF(-100, -100));
        steps(24);
    }
    QImage render() const { return testing::stagePicture(*stage); }

    QTemporaryDir dir;
    ProgressStore store{dir.path()};
    testing::ManualClock clock;
    SeededUniformSource source{20260901};
    std::unique_ptr<PracticeStage> stage;
};

struct Shot {
    const char* name;
    std::function<void(Scene&)> reach;
};

void PrintTo(const Shot& shot, std::ostream* out) {
    *out << shot.name;
}

const std::vector<Shot>& shots() {
    static const std::vector<Shot> all{
        {"intro",
         [](Scene& s) {
             s.stage = std::make_unique<PracticeStage>(
                 s.store, std::make_unique<testing::FakeSoundChannel>(), s.source, s.clock);
             s.stage->start();
             s.steps(PracticeLoop::kIntroSteps / 2);
         }},
        {"main_menu", [](Scene& s) { s.settle(); }},
        {"main_menu_review",
         [](Scene& s) {
             s.offerReview();
             s.settle();
         }},
        {"question_review",
         [](Scene& s) {
             s.offerReview();
             s.click("错题复习");
             s.typeNumber(QStringLiteral("8"));
             s.clock.advance(12'340);
             s.settle();
         }},
        {"completion_review",
         [](Scene& s) {
             s.offerReview();
             s.click("错题复习");
             s.clock.advance(41'250);
             s.answer(false);
             s.click("下一题");
             s.completeExercise();
             s.settle();
         }},
        {"menu_page_1",
         [](Scene& s) {
             s.click("自选模式");
             s.settle();
         }},
        {"menu_page_2",
         [](Scene& s) {
             s.click("自选模式");
             s.click("下页");
             s.settle();
         }},
        {"question_two_number",
         [](Scene& s) {
             s.openExercise(4);
             s.settle();
         }},
        {"question_two_number_typed",
         [](Scene& s) {
             s.openExercise(33);
             s.typeNumber(QStringLiteral("57"));
             s.clock.advance(83'450);
             s.settle();
         }},
        {"question_long_entry",
         [](Scene& s) {
             s.openExercise(4);
             s.typeNumber(QStringLiteral("1234567890123456789012345678901234567890123456789012"));
             s.settle();
         }},
        {"question_expression",
         [](Scene& s) {
             s.openExercise(32);
             s.settle();
         }},
        {"question_money",
         [](Scene& s) {
             s.openExercise(37);
             s.settle();
         }},
        {"question_clock",
         [](Scene& s) {
             s.openExercise(36);
             s.typeNumber(QStringLiteral("8"));
             s.settle();
         }},
        {"right_two_number",
         [](Scene& s) {
             s.openExercise(4);
             s.answer(true);
             s.settle();
         }},
        {"wrong_two_number",
         [](Scene& s) {
             s.openExercise(4);
             s.answer(false);
             s.settle();
         }},
        {"wrong_long_entry",
         [](Scene& s) {
             s.openExercise(4);
             s.typeNumber(QStringLiteral("1234567890123456789012345678901234567890123456789012"));
             s.click("确定");
             s.settle();
         }},
        {"right_expression",
         [](Scene& s) {
             s.openExercise(32);
             s.answer(true);
             s.settle();
         }},
        {"wrong_expression",
         [](Scene& s) {
             s.openExercise(32);
             s.answer(false);
             s.settle();
         }},
        {"right_money",
         [](Scene& s) {
             s.openExercise(37);
             s.answer(true);
             s.settle();
         }},
        {"wrong_money",
         [](Scene& s) {
             s.openExercise(37);
             s.answer(false);
             s.settle();
         }},
        {"right_clock",
         [](Scene& s) {
             s.openExercise(36);
             s.answer(true);
             s.settle();
         }},
        {"wrong_clock",
         [](Scene& s) {
             s.openExercise(36);
             s.answer(false);
             s.settle();
         }},
        {"completion_record",
         [](Scene& s) {
             s.openExercise(4);
             s.clock.advance(95'120);
             s.completeExercise();
             s.settle();
         }},
        {"completion_no_record",
         [](Scene& s) {
             s.openExercise(4);
             s.clock.advance(65'000);
             s.completeExercise();
             s.click("确定");
             s.openExercise(4);
             s.clock.advance(125'370);
             s.completeExercise();
             ASSERT_FALSE(s.stage->loop().newRecord());
             s.settle();
         }},
        {"map",
         [](Scene& s) {
             s.click("游戏模式");
             s.settle();
         }},
        {"settings_panel",
         [](Scene& s) {
             s.click("设置");
             s.settle();
         }},
        {"confirm_clear_history",
         [](Scene& s) {
             s.click("设置");
             s.steps(PracticeLoop::kPanelSlideSteps);
             s.click("清除历史纪录");
             s.settle();
         }},
        {"confirm_restart_game",
         [](Scene& s) {
             s.click("游戏模式");
             s.click("重新开始");
             s.settle();
         }},
        {"full_screen_question",
         [](Scene& s) {
             s.stage->setQuanping(QStringLiteral("1"));
             s.openExercise(4);
             s.settle();
         }},
    };
    return all;
}

class SceneGolden : public ::testing::TestWithParam<Shot> {};

TEST_P(SceneGolden, MatchesItsStoredPicture) {
    Scene scene;
    GetParam().reach(scene);
    if (::testing::Test::HasFatalFailure()) {
        return;
    }
    expectGolden(scene.render(), QString::fromUtf8(GetParam().name));
}

// The widget's way of drawing, a cached backdrop under the foreground, gives the same
// picture; and repainting only what the stage says moves, step after step, keeps it the
// same as a whole repaint (nothing left behind, nothing missed).
TEST_P(SceneGolden, TheCachedBackdropAndTheMovingPartsGiveTheSamePicture) {
    Scene scene;
    GetParam().reach(scene);
    if (::testing::Test::HasFatalFailure()) {
        return;
    }
    const QRectF whole(0, 0, 800, 600);
    QImage frame(800, 600, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::white);
    StageFrame cache;
    {
        QPainter painter(&frame);
        cache.paint(painter, *scene.stage, whole, 1.0, whole);
    }
    EXPECT_LE(differingPixels(frame, scene.render()), 0) << GetParam().name;
    StageLook look = scene.stage->look();
    for (int i = 0; i < 9; ++i) {
        scene.clock.advance(1000 / 12);  // the running time moves on
        scene.stage->step();
        QPainter painter(&frame);
        if (!(scene.stage->look() == look)) {
            look = scene.stage->look();
            cache.paint(painter, *scene.stage, whole, 1.0, whole);
            continue;
        }
        for (const QRectF& part : scene.stage->movingRects()) {
            cache.paint(painter, *scene.stage, whole, 1.0,
                        part.toAlignedRect().adjusted(-2, -2, 2, 2));
        }
    }
    // Both are drawn by the same code on the same machine: no share of glyph edges to
    // allow for, only a few pixels where a clip cuts through an antialiased edge.
    EXPECT_LE(differingPixels(frame, scene.render()), 8) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Screens, SceneGolden, ::testing::ValuesIn(shots()),
                         [](const ::testing::TestParamInfo<Shot>& row) {
                             return std::string(row.param.name);
                         });

// Holding a control down and letting it go off the control redraw the controls over the
// cached scenery, which is drawn again only where the screen draws its controls itself
// (a menu page's entries); the picture stays the one a whole repaint gives.
// (A suite of its own, run after the stored pictures: Qt's font caches keep what was drawn
// first, which moves glyph edges by a shade.)
struct Press {
    const char* name;
    std::function<void(Scene&)> reach;
    const char* control;
    int sceneries;  // how many times the scenery is drawn again: pressed, let go
};

void PrintTo(const Press& press, std::ostream* out) {
    *out << press.name;
}

class SceneGoldenPress : public ::testing::TestWithParam<Press> {};

TEST_P(SceneGoldenPress, RedrawsTheControlsOverTheSameScenery) {
    const Press& row = GetParam();
    const QRectF whole(0, 0, 800, 600);
    {
        Scene scene;
        row.reach(scene);
        scene.settle();
        QImage frame(800, 600, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::white);
        StageFrame cache;
        auto repaint = [&] {
            QPainter painter(&frame);
            cache.paint(painter, *scene.stage, whole, 1.0, whole);
        };
        repaint();
        const int sceneries = cache.sceneriesDrawn();
        const int backdrops = cache.backdropsDrawn();
        ASSERT_TRUE(scene.stage->press(QString::fromUtf8(row.control)));
        repaint();
        EXPECT_EQ(cache.backdropsDrawn(), backdrops + 1);
        EXPECT_LE(differingPixels(frame, scene.render()), 0);
        // A volume button held down repeats: the value moves on while the press stays.
        const bool held = scene.stage->volumeHeld();
        if (held) {
            const int volume = scene.stage->loop().music().yinliang();
            scene.stage->loop().volumeTick();
            ASSERT_NE(scene.stage->loop().music().yinliang(), volume);
            repaint();
            EXPECT_LE(differingPixels(frame, scene.render()), 0);
        }
        scene.stage->pointerReleased(QPointF(-100, -100));
        repaint();
        EXPECT_EQ(cache.backdropsDrawn(), backdrops + (held ? 3 : 2));
        EXPECT_EQ(cache.sceneriesDrawn(), sceneries + row.sceneries);
        EXPECT_LE(differingPixels(frame, scene.render()), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, SceneGoldenPress,
    ::testing::Values(Press{"question", [](Scene& s) { s.openExercise(4); }, "返回", 0},
                      Press{"map", [](Scene& s) { s.click("游戏模式"); }, "返回", 0},
                      Press{"main_menu", [](Scene&) {}, "自选模式", 0},
                      Press{"menu_page", [](Scene& s) { s.click("自选模式"); }, "10以内加法", 2},
                      // Held down, "+" turns the volume up: the panel's value changes too.
                      Press{"settings_volume",
                            [](Scene& s) {
                                s.click("设置");
                                s.steps(PracticeLoop::kPanelSlideSteps);
                            },
                            "+", 0}),
    [](const ::testing::TestParamInfo<Press>& row) { return std::string(row.param.name); });

// Each mood of the bear alone, large, at two moments of its little animation.
TEST(SceneGoldenMascot, EachMoodMatchesItsStoredPicture) {
    const struct {
        Mascot::Mood mood;
        const char* name;
    } moods[] = {{Mascot::Mood::Happy, "happy"},
                 {Mascot::Mood::Cheering, "cheering"},
                 {Mascot::Mood::Thinking, "thinking"},
                 {Mascot::Mood::Walking, "walking"}};
    for (const auto& m : moods) {
        QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(0xE9, 0xF7, 0xFF));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        Mascot::paint(painter, QPointF(220, 560), 480, m.mood, 0);
        Mascot::paint(painter, QPointF(600, 560), 480, m.mood, 5);
        painter.end();
        expectGolden(image, QStringLiteral("mascot_") + QString::fromUtf8(m.name));
    }
}

// The bear never draws outside its reach, and from one step to the next it changes only
// inside the part it names as moving: the stage repaints no more than that part of it.
// Drawn in its two layers it is the same bear.
TEST(SceneGoldenMascot, EachMoodStaysInItsReachAndMovesOnlyWhereItSays) {
    const Mascot::Mood moods[] = {Mascot::Mood::Happy, Mascot::Mood::Cheering,
                                  Mascot::Mood::Thinking, Mascot::Mood::Walking};
    const struct {
        QPointF feet;
        double height;
    } sizes[] = {{{150, 260}, 100}, {{300.5, 560.25}, 200}};
    for (const Mascot::Mood mood : moods) {
        for (const auto& size : sizes) {
            SCOPED_TRACE(::testing::Message() << static_cast<int>(mood) << " " << size.height);
            const QRect reach = Mascot::reach(size.feet, size.height, mood).toAlignedRect();
            const QRect moving = Mascot::moving(size.feet, size.height, mood).toAlignedRect();
            EXPECT_TRUE(reach.contains(moving));
            QImage first;
            // 0..139 meets every beat of the bear's animations (10 to 24 steps) at its peaks.
            for (int step = 0; step < 140; ++step) {
                QImage image(600, 600, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::transparent);
                QPainter painter(&image);
                Mascot::paint(painter, size.feet, size.height, mood, step);
                painter.end();
                if (first.isNull()) {
                    first = image;
                }
                int outside = 0;
                int movedOutside = 0;
                for (int y = 0; y < image.height(); ++y) {
                    const auto* a = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                    const auto* f = reinterpret_cast<const QRgb*>(first.constScanLine(y));
                    for (int x = 0; x < image.width(); ++x) {
                        outside += qAlpha(a[x]) != 0 && !reach.contains(x, y) ? 1 : 0;
                        movedOutside += a[x] != f[x] && !moving.contains(x, y) ? 1 : 0;
                    }
                }
                ASSERT_EQ(outside, 0) << "step " << step;
                ASSERT_EQ(movedOutside, 0) << "step " << step;
                // Its still part and then its moving part make the whole bear.
                if (step % 7 == 0) {
                    QImage layered(image.size(), image.format());
                    layered.fill(Qt::transparent);
                    QPainter layers(&layered);
                    for (const auto layer : {Mascot::Layer::Still, Mascot::Layer::Moving}) {
                        Mascot::paint(layers, size.feet, size.height, mood, step, layer);
                    }
                    layers.end();
                    ASSERT_TRUE(layered == image) << "step " << step;
                }
            }
        }
    }
}

}  // namespace
}  // namespace sumbrook
