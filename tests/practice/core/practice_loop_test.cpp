#include "practice/core/practice_loop.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "practice/core/sound_names.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

constexpr std::int64_t kNone = ProgressRecords::kNoBestTime;

class PracticeLoopTest : public ::testing::Test {
  protected:
    PracticeLoopTest() { startUp(); }

    void startUp() {
        loop.start();
        for (int i = 0; i < PracticeLoop::kIntroSteps; ++i) {
            loop.step();
        }
    }
    void typeNumber(const QString& digits) {
        for (const QChar c : digits) {
            loop.typeDigit(c.unicode() - u'0');
        }
    }
    void answer(bool right) {
        const Question& q = *loop.question();
        if (const auto* shown = std::get_if<ClockQuestion>(&q)) {
            typeNumber(QString::number(shown->deshu));
            loop.confirm();
            typeNumber(QString::number(right ? shown->deshu0 : shown->deshu0 + 1));
        } else {
            typeNumber(QString::number(expectedAnswer(q) + (right ? 0 : 1)));
        }
        loop.confirm();
    }
    QJsonObject onDisk() const {
        QFile file(store.filePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(file.readAll()).object();
    }
    // From the main menu into exercise `number` in self-choice mode.
    void openExercise(int number) {
        loop.chooseSelfMode();
        if (number > 24) {
            loop.nextPage();
        }
        loop.chooseExercise(number);
    }
    void runToCompletion() {
        while (loop.screen() != Screen::Fen100) {
            answer(true);
            if (loop.screen() != Screen::Fen100) {
                loop.nextQuestion();
            }
        }
    }

    QTemporaryDir dir;
    ProgressStore store{dir.path()};
    ProgressRecords records{store};
    testing::ManualClock clock;
    SeededUniformSource source{11};
    testing::FakeSoundChannel channel;
    PracticeLoop loop{records, clock, source, channel};
};

TEST_F(PracticeLoopTest, TheIntroLastsFortyStepsThenTheMusicAndTheMainMenu) {
    PracticeLoop fresh(records, clock, source, channel);
    channel.log.clear();
    fresh.start();
    EXPECT_EQ(fresh.screen(), Screen::Stat);
    EXPECT_EQ(channel.log, QStringList{"effect:intro.mp3"});
    for (int i = 1; i < PracticeLoop::kIntroSteps; ++i) {
        fresh.step();
    }
    EXPECT_EQ(fresh.screen(), Screen::Stat);
    fresh.step();
    EXPECT_EQ(fresh.screen(), Screen::Zhongmulu);
    EXPECT_TRUE(channel.song.endsWith(".mp3"));
    EXPECT_EQ(channel.songRepeats, 1);
    EXPECT_EQ(channel.volume(), 50);
    EXPECT_EQ(fresh.quanping(), "0");
}

TEST_F(PracticeLoopTest, AWholeExerciseFromZeroToCompletionWithANewBestTime) {
    openExercise(4);
    ASSERT_EQ(loop.screen(), Screen::Jia);
    EXPECT_EQ(loop.levelText(), QStringLiteral("1—4"));
    EXPECT_EQ(loop.bestTimeText(), "60:00.00");
    for (int i = 1; i <= 19; ++i) {
        clock.advance(3000);
        answer(true);
        ASSERT_EQ(loop.screen(), Screen::Dui);
        EXPECT_EQ(loop.fenshu(), 5 * i);
        loop.nextQuestion();
        ASSERT_EQ(loop.screen(), Screen::Jia);
    }
    clock.advance(3000);
    EXPECT_EQ(loop.runningTimeText(), "01:00.00");
    answer(true);
    EXPECT_EQ(loop.screen(), Screen::Fen100);
    EXPECT_EQ(loop.fenshu(), 95);  // a right answer at 95 completes without a raise
    EXPECT_EQ(loop.tishu(), 20);
    EXPECT_EQ(loop.tishudui(), 20);
    EXPECT_EQ(loop.tishuLs(), 20);
    EXPECT_EQ(loop.tishuduiLs(), 20);
    EXPECT_EQ(loop.completionMs(), 60000);
    EXPECT_TRUE(loop.newRecord());
    EXPECT_EQ(loop.b320(), 320);
    EXPECT_TRUE(channel.effects.endsWith(sound_names::fanfare()));
    const QJsonObject file = onDisk();
    EXPECT_EQ(file.value("timels01").toArray().at(4).toInteger(), 60000);
    EXPECT_EQ(file.value("tishu_ls").toInt(), 20);

    loop.confirm();
    EXPECT_EQ(loop.screen(), Screen::Mulu1);
    EXPECT_FALSE(loop.newRecord());
    EXPECT_EQ(loop.b320(), 0);

    // A slower second run keeps the record.
    loop.chooseExercise(4);
    clock.advance(70000);
    runToCompletion();
    EXPECT_EQ(loop.completionMs(), 70000);
    EXPECT_FALSE(loop.newRecord());
    EXPECT_EQ(records.bestTime(4), 60000);
}

TEST_F(PracticeLoopTest, WrongAnswersLowerTheScoreButNeverBelowZero) {
    openExercise(13);
    loop.confirm();  // nothing typed: counted, and wrong
    EXPECT_EQ(loop.screen(), Screen::Chuo);
    EXPECT_EQ(loop.fenshu(), 0);
    EXPECT_EQ(loop.tishu(), 1);
    EXPECT_EQ(loop.tishudui(), 0);
    EXPECT_EQ(loop.tishuLs(), 1);
    loop.nextQuestion();
    answer(true);
    EXPECT_EQ(loop.fenshu(), 5);
    loop.nextQuestion();
    answer(true);
    loop.nextQuestion();
    answer(false);
    EXPECT_EQ(loop.fenshu(), 5);
    loop.nextQuestion();
    answer(false);
    EXPECT_EQ(loop.fenshu(), 0);
    EXPECT_EQ(loop.tishu(), 5);
    EXPECT_EQ(loop.tishudui(), 2);
}

TEST_F(PracticeLoopTest, EachQuestionScreenHasItsOwnAnswerScreens) {
    const struct {
        int exercise;
        Screen question, right, wrong;
        bool moneyText;
    } rows[] = {
        {1, Screen::Jia, Screen::Dui, Screen::Chuo, false},
        {25, Screen::Lianjia, Screen::Dui2, Screen::Chuo2, false},
        {37, Screen::Rmb, Screen::Dui3, Screen::Chuo3, true},
        {36, Screen::Shijian, Screen::Dui4, Screen::Chuo4, false},
    };
    for (const auto& row : rows) {
        openExercise(row.exercise);
        ASSERT_EQ(loop.screen(), row.question) << row.exercise;
        answer(true);
        EXPECT_EQ(loop.screen(), row.right);
        EXPECT_TRUE(channel.effects.last().startsWith("praise"));
        loop.nextQuestion();
        EXPECT_EQ(loop.screen(), row.question);
        answer(false);
        EXPECT_EQ(loop.screen(), row.wrong);
        EXPECT_TRUE(channel.effects.last().startsWith("comfort"));
        const QString shown = correctAnswerText(*loop.question());
        if (row.exercise == 37) {
            EXPECT_TRUE(shown.endsWith(u'分') || shown.endsWith(u'角') || shown.endsWith(u'元'));
        } else if (row.exercise == 36) {
            EXPECT_TRUE(shown.contains(u'点') && shown.endsWith(u'分'));
        }
        loop.back();
        EXPECT_EQ(loop.screen(), Screen::Mulu1);
        loop.mainMenu();
    }
}

TEST_F(PracticeLoopTest, KeypadEntryRules) {
    openExercise(21);
    typeNumber("12");
    loop.erase();
    typeNumber("3");
    EXPECT_EQ(loop.answerText(), "13");
    loop.erase();
    loop.erase();
    EXPECT_EQ(loop.answerText(), "");
    loop.erase();  // on an empty entry it stays empty
    EXPECT_EQ(loop.answerText(), "");
    typeNumber("05");
    EXPECT_EQ(loop.answerText(), "5");
    loop.erase();
    typeNumber("0");
    EXPECT_EQ(loop.answerText(), "0");
}

TEST_F(PracticeLoopTest, AFortyDigitEntryIsShownWholeAndJudgedWrong) {
    openExercise(1);
    const QString forty = QString(40, u'9');
    typeNumber(forty);
    EXPECT_EQ(loop.answerText(), forty);
    loop.confirm();
    EXPECT_EQ(loop.screen(), Screen::Chuo);
    EXPECT_EQ(loop.tishu(), 1);
}

TEST_F(PracticeLoopTest, ANewQuestionClearsTheEntryAndNextCountsNothing) {
    openExercise(6);
    typeNumber("7");
    const int fenshu = loop.fenshu();
    loop.nextQuestion();
    EXPECT_EQ(loop.screen(), Screen::Jia);
    EXPECT_EQ(loop.answerText(), "");
    EXPECT_EQ(loop.tishu(), 0);
    EXPECT_EQ(loop.fenshu(), fenshu);
    ASSERT_TRUE(loop.question().has_value());
}

class ClockEntryTest : public PracticeLoopTest {
  protected:
    void SetUp() override {
        openExercise(36);
        ASSERT_EQ(loop.screen(), Screen::Shijian);
        question = std::get<ClockQuestion>(*loop.question());
    }
    ClockQuestion question;
};

TEST_F(ClockEntryTest, ConfirmOnTheHourFieldMovesToTheMinutesWithoutJudging) {
    typeNumber(QString::number(question.deshu));
    loop.confirm();
    EXPECT_EQ(loop.activeField(), PracticeLoop::kMinuteField);
    EXPECT_EQ(loop.tishu(), 0);
    loop.confirm();  // an empty minute field is not judged either
    EXPECT_EQ(loop.screen(), Screen::Shijian);
    EXPECT_EQ(loop.tishu(), 0);
    typeNumber(QString::number(question.deshu0));
    EXPECT_EQ(loop.minuteText(), QString::number(question.deshu0));
    EXPECT_EQ(loop.answerText(), QString::number(question.deshu));
    loop.confirm();
    EXPECT_EQ(loop.screen(), Screen::Dui4);
    EXPECT_EQ(loop.tishu(), 1);
}

TEST_F(ClockEntryTest, EraseOnAnEmptyMinuteFieldReturnsToTheHour) {
    typeNumber("1");
    loop.confirm();
    loop.erase();
    EXPECT_EQ(loop.activeField(), PracticeLoop::kHourField);
    typeNumber("2");  // the typed hour is edited further
    EXPECT_EQ(loop.answerText(), "12");
    loop.erase();
    EXPECT_EQ(loop.answerText(), "1");
    loop.confirm();
    typeNumber("45");
    loop.erase();
    EXPECT_EQ(loop.activeField(), PracticeLoop::kMinuteField);  // not empty: a digit goes
    EXPECT_EQ(loop.minuteText(), "4");
}

TEST_F(ClockEntryTest, AnEmptyHourIsJudgedWrongAndZeroMinutesIsAnAnswer) {
    loop.confirm();  // empty hour: on to the minutes
    EXPECT_EQ(loop.activeField(), PracticeLoop::kMinuteField);
    typeNumber("0");
    loop.confirm();
    EXPECT_EQ(loop.screen(), Screen::Chuo4);
    EXPECT_EQ(loop.tishu(), 1);
}

TEST_F(ClockEntryTest, BothFieldsMustBeRight) {
    typeNumber(QString::number(question.deshu % 12 + 1));
    loop.confirm();
    typeNumber(QString::number(question.deshu0));
    loop.confirm();
    EXPECT_EQ(loop.screen(), Screen::Chuo4);
}

TEST_F(PracticeLoopTest, TheMenuPagesLeadToTheirExercisesOnly) {
    loop.chooseSelfMode();
    EXPECT_EQ(loop.screen(), Screen::Mulu1);
    loop.chooseExercise(30);  // not on this page
    EXPECT_EQ(loop.screen(), Screen::Mulu1);
    loop.nextPage();
    EXPECT_EQ(loop.screen(), Screen::Mulu2);
    loop.chooseExercise(3);
    EXPECT_EQ(loop.screen(), Screen::Mulu2);
    loop.previousPage();
    EXPECT_EQ(loop.screen(), Screen::Mulu1);
    loop.mainMenu();
    EXPECT_EQ(loop.screen(), Screen::Zhongmulu);
}

TEST_F(PracticeLoopTest, MenuPageOneRestartsTheClockEvenThroughPageTwo) {
    openExercise(3);
    clock.advance(50000);
    loop.back();
    loop.nextPage();
    clock.advance(7000);
    loop.chooseExercise(28);
    EXPECT_EQ(loop.runningTimeText(), "00:00.00");
    clock.advance(1500);
    loop.nextQuestion();  // the clock goes on through further questions
    EXPECT_EQ(loop.runningTimeText(), "00:01.50");
}

TEST_F(PracticeLoopTest, BackInSelfChoiceModeAbandonsTheScore) {
    openExercise(7);
    answer(true);
    answer(true);
    loop.nextQuestion();
    answer(true);
    EXPECT_EQ(loop.fenshu(), 10);
    loop.back();
    EXPECT_EQ(loop.screen(), Screen::Mulu1);
    EXPECT_EQ(loop.fenshu(), 0);
    EXPECT_EQ(loop.xiangm(), 0);
    EXPECT_EQ(loop.tishudui(), 2);  // run-long counters go on
}

TEST_F(PracticeLoopTest, ExitFullScreenOnlyWhileFullScreen) {
    EXPECT_FALSE(loop.exitControlVisible());
    loop.exitFullScreen();
    EXPECT_NE(loop.dongzuo(), "tuicu");
    loop.setQuanping("1");
    EXPECT_TRUE(loop.exitControlVisible());
    loop.exitFullScreen();
    EXPECT_EQ(loop.dongzuo(), "tuicu");
    loop.setQuanping("0");
    loop.setDongzuo("0");
    EXPECT_FALSE(loop.exitControlVisible());
    loop.setQuanping("");
    EXPECT_FALSE(loop.exitControlVisible());
}

// --- game mode

class GameModeTest : public PracticeLoopTest {
  protected:
    void enterMap() {
        loop.chooseGameMode();
        ASSERT_EQ(loop.screen(), Screen::Youxi1);
    }
    void stepMap(int steps) {
        for (int i = 0; i < steps; ++i) {
            loop.step();
        }
    }
};

TEST_F(GameModeTest, EveryLevelStartsItsExerciseAndLevelTwentyOneNothing) {
    const int expected[] = {3,  6,  7,  12, 15, 16, 19, 20, 22, 32, 24,
                            25, 26, 27, 28, 29, 30, 31, 32, 33, 35};
    for (int level = 0; level <= 21; ++level) {
        records.setLevel(level);
        loop.mainMenu();
        loop.back();
        loop.chooseGameMode();
        EXPECT_EQ(loop.map().markerPosition(), level);
        loop.startLevel();
        if (level == 21) {
            EXPECT_EQ(loop.screen(), Screen::Youxi1);
            continue;
        }
        EXPECT_EQ(loop.xiangm(), expected[level]) << level;
        EXPECT_EQ(loop.screen(),
                  expected[level] == 33 || expected[level] < 25 ? Screen::Jia : Screen::Lianjia);
        loop.back();
        EXPECT_EQ(loop.screen(), Screen::Youxi);
        loop.back();
        EXPECT_EQ(loop.screen(), Screen::Zhongmulu);
    }
}

TEST_F(GameModeTest, ACompletionRaisesTheLevelAndWalksTheMarker) {
    enterMap();
    EXPECT_EQ(loop.gameLevel(), 0);
    loop.startLevel();
    EXPECT_EQ(loop.xiangm(), 3);
    runToCompletion();
    loop.confirm();
    EXPECT_EQ(loop.screen(), Screen::Youxi);
    EXPECT_EQ(onDisk().value("jishu120").toInt(), 1);
    EXPECT_EQ(loop.b320(), 0);
    EXPECT_EQ(loop.map().markerPosition(), 0);
    stepMap(GameMap::kPauseSteps);
    EXPECT_EQ(loop.map().markerPosition(), 0);
    stepMap(10);
    EXPECT_DOUBLE_EQ(loop.map().markerPosition(), 0.5);
    stepMap(10);
    EXPECT_EQ(loop.map().markerPosition(), 1);
    EXPECT_FALSE(loop.map().moving());
    loop.startLevel();
    EXPECT_EQ(loop.xiangm(), 6);
}

TEST_F(GameModeTest, LeavingALevelKeepsItAndDoesNotWalk) {
    records.setLevel(5);
    enterMap();
    loop.startLevel();
    answer(true);
    loop.back();
    EXPECT_EQ(loop.screen(), Screen::Youxi);
    EXPECT_EQ(loop.fenshu(), 0);
    EXPECT_EQ(loop.gameLevel(), 5);
    EXPECT_EQ(loop.map().markerPosition(), 5);
    EXPECT_FALSE(loop.map().moving());
}

TEST_F(GameModeTest, CompletingTheLastLevelReachesTheFinalStop) {
    records.setLevel(20);
    enterMap();
    loop.startLevel();
    EXPECT_EQ(loop.xiangm(), 35);
    runToCompletion();
    loop.confirm();
    stepMap(GameMap::kPauseSteps + GameMap::kWalkSteps);
    EXPECT_EQ(loop.map().markerPosition(), 21);
    EXPECT_EQ(loop.gameLevel(), 21);
    loop.startLevel();
    EXPECT_EQ(loop.screen(), Screen::Youxi);
}

TEST_F(GameModeTest, StartingAgainAsksFirstAndClearsOnlyTheLevel) {
    records.setLevel(9);
    records.recordCompletion(3, 30000);
    enterMap();
    loop.askRestartGame();
    EXPECT_EQ(loop.confirmBox(), ConfirmBox::RestartGame);
    loop.startLevel();  // the box is in front
    EXPECT_EQ(loop.screen(), Screen::Youxi1);
    loop.cancel();
    EXPECT_EQ(loop.gameLevel(), 9);
    loop.askRestartGame();
    loop.confirm();
    EXPECT_EQ(loop.confirmBox(), ConfirmBox::None);
    EXPECT_EQ(onDisk().value("jishu120").toInt(), 0);
    EXPECT_EQ(loop.map().markerPosition(), 0);
    EXPECT_EQ(records.bestTime(3), 30000);
}

// --- settings panel and music

class SettingsTest : public PracticeLoopTest {
  protected:
    void openPanel() {
        loop.openSettings();
        for (int i = 1; i < PracticeLoop::kPanelSlideSteps; ++i) {
            loop.step();
        }
        ASSERT_EQ(loop.settingsPanel(), SettingsPanel::SlidingIn);
        loop.step();
        ASSERT_EQ(loop.settingsPanel(), SettingsPanel::Shown);
    }
    void hold(int direction, int ticks) {
        loop.holdVolume(direction);
        for (int i = 0; i < ticks; ++i) {
            loop.volumeTick();
        }
    }
};

TEST_F(SettingsTest, TheSettingsControlSoundsOnHoverAndPress) {
    loop.hoverSettings();
    EXPECT_EQ(channel.effects.last(), sound_names::settingsHover());
    openPanel();
    EXPECT_TRUE(channel.effects.contains(sound_names::settingsPress()));
    EXPECT_EQ(loop.music().yinliang(), 50);
    loop.chooseSelfMode();  // the panel covers the menu
    EXPECT_EQ(loop.screen(), Screen::Zhongmulu);
    loop.back();
    EXPECT_EQ(loop.settingsPanel(), SettingsPanel::Hidden);
}

TEST_F(SettingsTest, HoldingAVolumeButtonMovesTheValueAndTheVolumeFollowsOnRelease) {
    openPanel();
    hold(+1, 40);  // two seconds
    EXPECT_EQ(loop.music().yinliang(), 90);
    EXPECT_EQ(channel.volume(), 50);
    loop.releaseVolume();
    EXPECT_EQ(channel.volume(), 90);
    hold(+1, 40);
    loop.releaseVolume();
    EXPECT_EQ(channel.volume(), 100);
    hold(-1, 500);
    loop.releaseVolume();
    EXPECT_EQ(channel.volume(), 0);
    loop.volumeTick();  // nothing held: nothing moves
    EXPECT_EQ(loop.music().yinliang(), 0);
}

TEST_F(SettingsTest, APickedSongRepeatsAtTheSetVolumeAndRandomPlayReturnsToHalf) {
    openPanel();
    hold(-1, 20);
    loop.releaseVolume();
    loop.chooseSong(3);  // "I love family"
    EXPECT_EQ(channel.song, "444.mp3");
    EXPECT_EQ(channel.songRepeats, 999);
    EXPECT_EQ(channel.volume(), 30);
    channel.finishSong();  // after all its repeats, random songs again
    EXPECT_EQ(channel.songRepeats, 1);
    EXPECT_EQ(channel.volume(), 50);
    loop.chooseSong(0);
    EXPECT_EQ(channel.song, "111.mp3");
    loop.chooseSong(9);  // "随机播放"
    EXPECT_EQ(channel.songRepeats, 1);
    EXPECT_EQ(channel.volume(), 50);
}

TEST_F(SettingsTest, ClearingTheHistoryAsksFirst) {
    records.recordCompletion(8, 20000);
    records.setLevel(4);
    openPanel();
    loop.askClearHistory();
    EXPECT_EQ(loop.confirmBox(), ConfirmBox::ClearHistory);
    loop.cancel();
    EXPECT_EQ(records.bestTime(8), 20000);
    loop.askClearHistory();
    loop.confirm();
    EXPECT_EQ(loop.confirmBox(), ConfirmBox::None);
    EXPECT_EQ(loop.settingsPanel(), SettingsPanel::Shown);
    EXPECT_EQ(records.bestTime(8), kNone);
    EXPECT_EQ(onDisk().value("timels01").toArray().at(8).toInteger(), kNone);
    EXPECT_EQ(records.level(), 4);
}

}  // namespace
}  // namespace sumbrook
