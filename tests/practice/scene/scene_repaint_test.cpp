// What the scene widget repaints: every change of what a screen shows brings a whole
// repaint, and a question screen left alone repaints only its running time.
#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <functional>

#include "practice/core/exercise_catalogue.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_timing.h"
#include "practice/scene/scene_widget.h"
#include "practice/scene/stage_layout.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

class SceneRepaint : public ::testing::Test {
  public:
    SceneRepaint() {
        stage = std::make_unique<PracticeStage>(
            store, std::make_unique<testing::FakeSoundChannel>(), source, clock);
        stage->start();
        widget = std::make_unique<SceneWidget>(*stage);
        widget->resize(800, 600);
        advance(PracticeLoop::kIntroSteps + 1);
    }
    void advance(int n) {
        for (int i = 0; i < n; ++i) {
            clock.advance(timing::kStepMs);
            widget->advance();
        }
    }
    void click(const char* caption) {
        ASSERT_TRUE(stage->click(QString::fromUtf8(caption))) << caption;
    }
    void toExercise(int number) {
        click("自选模式");
        if (ExerciseCatalogue::exercise(number).menuPage == 2) {
            click("下页");
        }
        ASSERT_TRUE(stage->click(ExerciseCatalogue::title(number)));
    }

    QTemporaryDir dir;
    ProgressStore store{dir.path()};
    testing::ManualClock clock;
    SeededUniformSource source{11};
    std::unique_ptr<PracticeStage> stage;
    std::unique_ptr<SceneWidget> widget;
};

// One row per thing a screen shows: how to get to a screen showing it, and how to change it.
struct Change {
    const char* shows;
    std::function<void(SceneRepaint&)> reach;
    std::function<void(SceneRepaint&)> change;
};

TEST_F(SceneRepaint, EveryChangeOfWhatAScreenShowsRepaintsItWhole) {
    const std::vector<Change> rows{
        {"the screen", [](SceneRepaint&) {}, [](SceneRepaint& t) { t.click("自选模式"); }},
        {"the entry", [](SceneRepaint& t) { t.toExercise(4); },
         [](SceneRepaint& t) { t.click("7"); }},
        {"an erased digit",
         [](SceneRepaint& t) {
             t.toExercise(4);
             t.click("7");
         },
         [](SceneRepaint& t) { t.click("←"); }},
        {"the clock's minute field",
         [](SceneRepaint& t) {
             t.toExercise(36);
             t.click("3");
             t.click("确定");
         },
         [](SceneRepaint& t) { t.click("4"); }},
        {"the clock's active field",
         [](SceneRepaint& t) {
             t.toExercise(36);
             t.click("3");
         },
         [](SceneRepaint& t) { t.click("确定"); }},
        {"the question (下一题)", [](SceneRepaint& t) { t.toExercise(33); },
         [](SceneRepaint& t) { t.click("下一题"); }},
        {"a pressed key", [](SceneRepaint& t) { t.toExercise(4); },
         [](SceneRepaint& t) { ASSERT_TRUE(t.stage->press(QStringLiteral("返回"))); }},
        {"the exit control", [](SceneRepaint& t) { t.toExercise(4); },
         [](SceneRepaint& t) { t.stage->setQuanping(QStringLiteral("1")); }},
        {"the panel sliding in", [](SceneRepaint& t) { t.click("设置"); }, [](SceneRepaint&) {}},
        {"the volume",
         [](SceneRepaint& t) {
             t.click("设置");
             t.advance(PracticeLoop::kPanelSlideSteps + 1);
             ASSERT_TRUE(t.stage->press(QStringLiteral("+")));
             t.advance(1);
         },
         [](SceneRepaint& t) { t.stage->loop().volumeTick(); }},
        {"the song playing",
         [](SceneRepaint& t) {
             t.click("设置");
             t.advance(PracticeLoop::kPanelSlideSteps + 1);
         },
         [](SceneRepaint& t) { t.click("little star"); }},
        {"a confirmation box",
         [](SceneRepaint& t) {
             t.click("设置");
             t.advance(PracticeLoop::kPanelSlideSteps + 1);
         },
         [](SceneRepaint& t) { t.click("清除历史纪录"); }},
        {"the best times and lifetime counts",
         [](SceneRepaint& t) {
             t.toExercise(4);
             t.click("确定");
             t.click("返回");
             t.click("总目录");
             t.click("设置");
             t.advance(PracticeLoop::kPanelSlideSteps + 1);
             t.click("清除历史纪录");
             t.advance(1);
         },
         [](SceneRepaint& t) { t.click("确定"); }},
        {"the game record cleared",
         [](SceneRepaint& t) {
             t.click("游戏模式");
             t.advance(1);
             t.click("重新开始");
         },
         [](SceneRepaint& t) { t.click("确定"); }},
    };
    for (const Change& row : rows) {
        SCOPED_TRACE(row.shows);
        SceneRepaint& t = *this;
        stage->setQuanping(QStringLiteral("0"));
        row.reach(t);
        advance(2);
        const int before = widget->fullRepaints();
        const StageLook look = stage->look();
        row.change(t);
        advance(1);
        EXPECT_EQ(widget->fullRepaints(), before + 1);
        EXPECT_FALSE(stage->look() == look);
        // Back to the main menu for the next row.
        stage->release(QStringLiteral("返回"));
        stage->pointerReleased(QPointF(-100, -100));
        while (stage->loop().confirmBox() != ConfirmBox::None) {
            stage->loop().cancel();
        }
        if (stage->loop().settingsPanel() != SettingsPanel::Hidden) {
            stage->loop().releaseVolume();
            advance(PracticeLoop::kPanelSlideSteps + 1);
            stage->loop().back();
        }
        while (stage->loop().screen() != Screen::Zhongmulu) {
            if (isQuestionScreen(stage->loop().screen()) ||
                isAnswerScreen(stage->loop().screen()) || isGameMap(stage->loop().screen())) {
                stage->loop().back();
            } else {
                stage->loop().mainMenu();
            }
        }
        advance(2);
    }
}

TEST_F(SceneRepaint, AQuestionScreenLeftAloneRepaintsOnlyItsRunningTime) {
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "full screen" : "window");
        stage->setQuanping(full ? QStringLiteral("1") : QStringLiteral("0"));
        toExercise(4);
        click("5");  // an entry typed: no caret blinks
        stage->pointerMoved(QPointF(-100, -100));
        advance(24);  // the sparkle trail dies down
        const QRect time =
            stage_layout::headerCell(2, 0, full).toAlignedRect().adjusted(-2, -2, 2, 2);
        const int before = widget->fullRepaints();
        // The digits only, inside the time's card, and at every step the same part: its
        // label "用时:" stands still.
        advance(1);
        ASSERT_EQ(widget->lastRepaints().size(), 1u);
        const QRect digits = widget->lastRepaints().front();
        EXPECT_TRUE(time.contains(digits));
        EXPECT_GT(digits.left(), time.left() + 20);
        for (int i = 0; i < 36; ++i) {
            advance(1);
            ASSERT_EQ(widget->lastRepaints().size(), 1u) << i;
            EXPECT_EQ(widget->lastRepaints().front(), digits) << i;
        }
        EXPECT_EQ(widget->fullRepaints(), before);
        // With the box empty the caret adds its card, on the steps it blinks only.
        click("←");
        stage->pointerMoved(QPointF(-100, -100));
        advance(24);
        int withCaret = 0;
        for (int i = 0; i < 8 * timing::kCaretSteps; ++i) {
            advance(1);
            withCaret += widget->lastRepaints().size() > 1 ? 1 : 0;
        }
        EXPECT_EQ(withCaret, 8);
        click("返回");
        advance(1);
        click("总目录");
        advance(1);
    }
}

// The caret of an empty answer box brings a repaint of that box alone, on every kind of
// question: a written sum, a chain of sums, money and the clock (its minute field too).
TEST_F(SceneRepaint, TheCaretRepaintsItsAnswerBoxOnly) {
    const struct {
        int exercise;
        const char* typedFirst;  // the clock's hour typed and confirmed: the minute blinks
    } rows[] = {{4, ""}, {32, ""}, {37, ""}, {36, ""}, {36, "8"}};
    const QRect card = stage_layout::kQuestionArea.toAlignedRect();
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.exercise << " " << row.typedFirst);
        toExercise(row.exercise);
        if (*row.typedFirst != 0) {
            click(row.typedFirst);
            click("确定");
        }
        stage->pointerMoved(QPointF(-100, -100));
        advance(24);  // the sparkle trail dies down
        int blinks = 0;
        for (int i = 0; i < 4 * timing::kCaretSteps; ++i) {
            advance(1);
            const auto& repaints = widget->lastRepaints();
            ASSERT_LE(repaints.size(), 2u);
            if (repaints.size() < 2) {
                continue;
            }
            ++blinks;
            const QRect box = repaints[1];
            // The box and its marker: inside the card (with the marker's room), far smaller.
            EXPECT_TRUE(card.adjusted(-16, -16, 16, 16).contains(box)) << i;
            EXPECT_LT(box.width() * box.height(), card.width() * card.height() / 6) << i;
        }
        EXPECT_EQ(blinks, 4);
        click("返回");
        advance(1);
        click("总目录");
        advance(1);
    }
}

}  // namespace
}  // namespace sumbrook
