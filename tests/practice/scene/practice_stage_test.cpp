#include "practice/scene/practice_stage.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>

#include "practice/core/exercise_catalogue.h"
#include "practice/scene/scene_widget.h"
#include "practice/scene/stage_layout.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"
#include "support/stage_picture.h"

namespace sumbrook {
namespace {

class PracticeStageTest : public ::testing::Test {
  protected:
    PracticeStageTest() {
        auto fake = std::make_unique<testing::FakeSoundChannel>();
        channel = fake.get();
        stage = std::make_unique<PracticeStage>(store, std::move(fake), source, clock);
        stage->start();
    }

    void steps(int n) {
        for (int i = 0; i < n; ++i) {
            stage->step();
        }
    }
    void toMainMenu() { steps(PracticeLoop::kIntroSteps); }
    Screen screen() const { return stage->loop().screen(); }
    // Types a number on the keypad, key by key.
    void typeNumber(int n) {
        for (const QChar c : QString::number(n)) {
            ASSERT_TRUE(stage->click(QString(c)));
        }
    }
    void answerRight() {
        const Question& q = *stage->loop().question();
        typeNumber(expectedAnswer(q));
        ASSERT_TRUE(stage->click(QStringLiteral("确定")));
        if (const auto* clockQuestion = std::get_if<ClockQuestion>(&q)) {
            typeNumber(clockQuestion->deshu0);
            ASSERT_TRUE(stage->click(QStringLiteral("确定")));
        }
    }
    void openExercise(int number) {
        ASSERT_TRUE(stage->click(QStringLiteral("自选模式")));
        if (ExerciseCatalogue::exercise(number).menuPage == 2) {
            ASSERT_TRUE(stage->click(QStringLiteral("下页")));
        }
        ASSERT_TRUE(stage->click(ExerciseCatalogue::title(number)));
    }
    QImage render() const { return testing::stagePicture(*stage); }

    QTemporaryDir dir;
    ProgressStore store{dir.path()};
    testing::ManualClock clock;
    SeededUniformSource source{5};
    testing::FakeSoundChannel* channel = nullptr;
    std::unique_ptr<PracticeStage> stage;
};

TEST_F(PracticeStageTest, TheIntroGivesWayToTheMainMenuAfterFortySteps) {
    steps(PracticeLoop::kIntroSteps - 1);
    EXPECT_EQ(screen(), Screen::Stat);
    EXPECT_FALSE(stage->control(QStringLiteral("自选模式")).has_value());
    steps(1);
    EXPECT_EQ(screen(), Screen::Zhongmulu);
    for (const char* caption : {"自选模式", "游戏模式", "设置"}) {
        EXPECT_TRUE(stage->control(QString::fromUtf8(caption)).has_value()) << caption;
    }
}

TEST_F(PracticeStageTest, AWholeExerciseOnEachQuestionScreenFromTheMenuAndBack) {
    toMainMenu();
    const struct {
        int exercise;
        Screen question;
    } rows[] = {{4, Screen::Jia}, {25, Screen::Lianjia}, {37, Screen::Rmb}, {36, Screen::Shijian}};
    for (const auto& row : rows) {
        openExercise(row.exercise);
        ASSERT_EQ(screen(), row.question) << row.exercise;
        render();
        while (screen() != Screen::Fen100) {
            answerRight();
            if (screen() != Screen::Fen100) {
                ASSERT_TRUE(isAnswerScreen(screen()));
                ASSERT_TRUE(stage->click(QStringLiteral("下一题")));
            }
        }
        render();
        EXPECT_EQ(stage->loop().tishudui(), stage->loop().tishu());
        ASSERT_TRUE(stage->click(QStringLiteral("确定")));
        EXPECT_EQ(screen(), Screen::Mulu1);
        ASSERT_TRUE(stage->click(QStringLiteral("总目录")));
    }
}

TEST_F(PracticeStageTest, KeysActOnPressAndBackOnRelease) {
    toMainMenu();
    openExercise(1);
    ASSERT_TRUE(stage->press(QStringLiteral("3")));
    EXPECT_EQ(stage->loop().answerText(), "3");  // before the key comes up
    stage->release(QStringLiteral("3"));
    ASSERT_TRUE(stage->press(QStringLiteral("返回")));
    EXPECT_EQ(screen(), Screen::Jia);
    // Let go somewhere else: nothing happens.
    stage->pointerReleased(QPointF(400, 200));
    EXPECT_EQ(screen(), Screen::Jia);
    ASSERT_TRUE(stage->click(QStringLiteral("返回")));
    EXPECT_EQ(screen(), Screen::Mulu1);
}

TEST_F(PracticeStageTest, AWrongAnswerShowsItsScreenAndTheClockTakesTwoFields) {
    toMainMenu();
    openExercise(36);
    const auto q = std::get<ClockQuestion>(*stage->loop().question());
    typeNumber(q.deshu);
    ASSERT_TRUE(stage->click(QStringLiteral("确定")));
    EXPECT_EQ(stage->loop().activeField(), PracticeLoop::kMinuteField);
    ASSERT_TRUE(stage->click(QStringLiteral("←")));  // empty minutes: back to the hour
    EXPECT_EQ(stage->loop().activeField(), PracticeLoop::kHourField);
    ASSERT_TRUE(stage->click(QStringLiteral("确定")));
    typeNumber(q.deshu0 == 45 ? 30 : 45);
    ASSERT_TRUE(stage->click(QStringLiteral("确定")));
    EXPECT_EQ(screen(), Screen::Chuo4);
    EXPECT_EQ(correctAnswerText(*stage->loop().question()), q.deshu2);
    render();
    EXPECT_FALSE(stage->control(QStringLiteral("确定")).has_value());  // the keypad is gone
}

TEST_F(PracticeStageTest, TheGameMapFromAFreshStoreThroughACompletionAndStartingAgain) {
    toMainMenu();
    ASSERT_TRUE(stage->click(QStringLiteral("游戏模式")));
    EXPECT_EQ(stage->loop().map().markerPosition(), 0);
    ASSERT_TRUE(stage->control(QStringLiteral("开始"))->name == "go_btn");
    ASSERT_TRUE(stage->click(QStringLiteral("开始")));
    EXPECT_EQ(stage->loop().xiangm(), 3);
    while (screen() != Screen::Fen100) {
        answerRight();
        if (screen() != Screen::Fen100) {
            stage->click(QStringLiteral("下一题"));
        }
    }
    ASSERT_TRUE(stage->click(QStringLiteral("确定")));
    EXPECT_EQ(screen(), Screen::Youxi);
    steps(GameMap::kPauseSteps + GameMap::kWalkSteps / 2);
    EXPECT_DOUBLE_EQ(stage->loop().map().markerPosition(), 0.5);
    render();
    steps(GameMap::kWalkSteps / 2);
    EXPECT_EQ(stage->loop().map().markerPosition(), 1);

    ASSERT_TRUE(stage->click(QStringLiteral("重新开始")));
    EXPECT_FALSE(stage->control(QStringLiteral("开始")).has_value());  // the box is in front
    render();
    ASSERT_TRUE(stage->click(QStringLiteral("确定")));
    EXPECT_EQ(stage->loop().gameLevel(), 0);
    EXPECT_EQ(stage->loop().map().markerPosition(), 0);
}

TEST_F(PracticeStageTest, TheExitControlIsOnStageOnlyInFullScreen) {
    for (const int intro : {0, PracticeLoop::kIntroSteps}) {
        steps(intro);
        stage->setQuanping(QStringLiteral("0"));
        EXPECT_EQ(stage->control(QStringLiteral("退出全屏"))->rect.topLeft(), QPointF(1300, -500));
        stage->pointerPressed(QPointF(700, 20));
        stage->pointerReleased(QPointF(700, 20));
        EXPECT_NE(stage->dongzuo(), "tuicu");
        stage->setQuanping(QStringLiteral("1"));
        EXPECT_EQ(stage->control(QStringLiteral("退出全屏"))->rect.topLeft(), QPointF(685, 10));
        ASSERT_TRUE(stage->click(QStringLiteral("退出全屏")));
        EXPECT_EQ(stage->dongzuo(), "tuicu");
        stage->setDongzuo(QStringLiteral("0"));
    }
}

TEST_F(PracticeStageTest, TheSettingsPanelHoldsTheVolumeAndClearsTheHistory) {
    toMainMenu();
    stage->pointerMoved(stage_layout::mainMenuButton(2).center());
    EXPECT_EQ(channel->effects.last(), "hover.mp3");
    ASSERT_TRUE(stage->click(QStringLiteral("设置")));
    EXPECT_FALSE(stage->control(QStringLiteral("+")).has_value());  // still sliding in
    render();
    steps(PracticeLoop::kPanelSlideSteps);
    ASSERT_TRUE(stage->press(QStringLiteral("+")));
    for (int i = 0; i < 24; ++i) {
        stage->loop().volumeTick();
    }
    EXPECT_EQ(stage->loop().music().yinliang(), 74);
    EXPECT_EQ(channel->volume(), 50);
    stage->pointerMoved(QPointF(10, 10));  // leaving the held button lets it go
    EXPECT_EQ(channel->volume(), 74);

    ASSERT_TRUE(stage->click(QStringLiteral("清除历史纪录")));
    EXPECT_EQ(stage->loop().confirmBox(), ConfirmBox::ClearHistory);
    render();
    ASSERT_TRUE(stage->click(QStringLiteral("确定")));
    EXPECT_EQ(stage->loop().confirmBox(), ConfirmBox::None);
    EXPECT_EQ(stage->loop().tishuLs(), 0);
    ASSERT_TRUE(stage->click(QStringLiteral("返回")));
    EXPECT_EQ(stage->loop().settingsPanel(), SettingsPanel::Hidden);
}

TEST_F(PracticeStageTest, TheWidgetKeepsTheStageAtFourToThreeAndRepaintsLittleWhenIdle) {
    SceneWidget widget(*stage);
    widget.resize(1000, 600);  // wider than 4:3: bands left and right
    EXPECT_EQ(widget.stageRect(), QRectF(100, 0, 800, 600));
    EXPECT_EQ(widget.toStage(QPointF(500, 300)), QPointF(400, 300));
    widget.resize(400, 300);
    EXPECT_EQ(widget.toStage(QPointF(200, 150)), QPointF(400, 300));

    for (int i = 0; i < PracticeLoop::kIntroSteps + 1; ++i) {
        widget.advance();
    }
    const int full = widget.fullRepaints();
    const int partial = widget.partialRepaints();
    for (int i = 0; i < 120; ++i) {  // ten idle seconds on the main menu
        widget.advance();
    }
    EXPECT_EQ(widget.fullRepaints(), full);
    EXPECT_EQ(widget.partialRepaints(), partial);
}

// Full screen or maximised on a screen of another shape: the bands beside or below the
// stage carry its sky and grass on to the edges, never a dark border.
TEST_F(PracticeStageTest, TheBandsOfAWidgetOfAnotherShapeContinueTheScenery) {
    toMainMenu();
    const QSize sizes[] = {{1920, 1080}, {2560, 1080}, {1366, 705}, {1280, 1024}};
    for (const QSize size : sizes) {
        SceneWidget widget(*stage);
        widget.resize(size);
        const QImage picture = widget.grab().toImage();
        const QRect stageRect = widget.stageRect().toRect();
        const bool beside = stageRect.left() > 0;
        // Sampled down the sides (or across the top and bottom), from the sky to the grass.
        for (int i = 1; i < 10; ++i) {
            const QPoint band = beside ? QPoint(0, size.height() * i / 10)
                                       : QPoint(size.width() * i / 10, size.height() - 1);
            // Four stage units in, past the outline of the stage's art.
            const int in = static_cast<int>(std::ceil(4 * stageRect.width() / 800.0));
            const QPoint edge = beside ? QPoint(stageRect.left() + in, band.y())
                                       : QPoint(band.x(), stageRect.bottom() - in);
            const QColor inBand = picture.pixelColor(band);
            const QColor atEdge = picture.pixelColor(edge);
            EXPECT_LE(
                std::abs(inBand.hue() - atEdge.hue()) + std::abs(inBand.value() - atEdge.value()),
                12)
                << size.width() << "x" << size.height() << " at " << band.x() << "," << band.y();
        }
    }
}

}  // namespace
}  // namespace sumbrook
