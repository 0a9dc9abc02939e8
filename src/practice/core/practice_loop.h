#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "answer_entry.h"
#include "common/monotonic_clock.h"
#include "common/uniform_source.h"
#include "game_map.h"
#include "music_rules.h"
#include "practice_observer.h"
#include "progress_records.h"
#include "question.h"
#include "review_question.h"
#include "running_clock.h"
#include "screen.h"
#include "sound_channel.h"

namespace sumbrook {

enum class SettingsPanel { Hidden, SlidingIn, Shown };
enum class ConfirmBox { None, ClearHistory, RestartGame };

// The practice scene without its pictures: which screen is up, the question and the
// child's entry, score and counters, the game map, the settings panel and the music.
// Each control of the scene calls one action here; an action that does not belong to the
// screen that is up, or that a box in front covers, changes nothing. It draws nothing and
// knows no coordinates.
//
// A review run asks the questions its source gave, each once and in order, on the screens
// of their kinds; it ends on the completion screen after the last of them has been
// answered (or passed over with "下一题"), or sooner when the score reaches 100. It
// leaves the progress store alone: no best time, no lifetime counts, no map move.
class PracticeLoop {
  public:
    static constexpr int kIntroSteps = 40;
    static constexpr int kPanelSlideSteps = 9;
    static constexpr int kGameModeOn = 123;
    static constexpr int kCompletionMarker = 320;
    static constexpr int kScoreStep = 5;
    static constexpr int kHourField = 0;
    static constexpr int kMinuteField = 100;
    static inline const QString kLeaveFullScreen = QStringLiteral("tuicu");

    PracticeLoop(ProgressRecords& records, const MonotonicClock& clock, UniformSource& source,
                 SoundChannel& channel);

    // Start-up: counters to 0, quanping "0", the progress store opened and checked, the
    // intro begun with its jingle.
    void start();
    // One display step (12 per second): the intro, the panel's slide and the map's
    // marker move on.
    void step();
    // The program is closing: an exercise still under way ends here.
    void close();
    // Who is told of runs, answers and completions; nullptr tells no one. Not owned.
    void setObserver(PracticeObserver* observer);
    // Where the review's questions come from; asked each time the main menu comes up
    // (not here: the program starts without waiting on it). Without one none is offered.
    void setReviewSource(ReviewSource source);
    // Asks the review source again (e.g. when the child practising changed).
    void refreshReview();

    // --- what the screens show
    Screen screen() const { return screen_; }
    int xiangm() const { return xiangm_; }
    int fenshu() const { return fenshu_; }
    int tishu() const { return tishu_; }
    int tishudui() const { return tishudui_; }
    std::int64_t tishuLs() const { return records_.tishuLs(); }
    std::int64_t tishuduiLs() const { return records_.tishuduiLs(); }
    bool gameMode() const { return youxi_ == kGameModeOn; }
    int b320() const { return b320_; }
    // "错题复习" stands on the main menu.
    bool reviewOffered() const { return !reviewDue_.empty(); }
    // From the start of a review run until it is left, its completion screen included.
    bool inReview() const { return reviewing_; }
    // The review under way: how many questions it has, and how many were answered right.
    int reviewLength() const { return static_cast<int>(review_.size()); }
    int reviewRight() const { return reviewRight_; }

    // The question on a question or answer screen.
    const std::optional<Question>& question() const { return question_; }
    // The child's answer (xian3); on the clock the hour field.
    QString answerText() const { return xian3_; }
    // The clock's minute field.
    QString minuteText() const { return minute_; }
    // The clock's active field (xian_y): kHourField or kMinuteField.
    int activeField() const { return xianY_; }
    QString levelText() const;
    // "用时:" and "最好：" while a question or answer screen is up.
    QString runningTimeText() const;
    QString bestTimeText() const;
    // Which of the three praise or comfort clips and pictures the answer screen shows.
    int answerClip() const { return clip_; }

    // The completion screen: its time and whether it set a new record.
    std::int64_t completionMs() const { return completionMs_; }
    bool newRecord() const { return newRecord_; }

    SettingsPanel settingsPanel() const { return panel_; }
    int panelSlideStep() const { return panelSlide_; }
    ConfirmBox confirmBox() const { return box_; }
    const GameMap& map() const { return map_; }
    const MusicRules& music() const { return music_; }
    int gameLevel() const { return records_.level(); }

    // --- the two variables the host reads and writes
    QString dongzuo() const { return dongzuo_; }
    void setDongzuo(const QString& value) { dongzuo_ = value; }
    QString quanping() const { return quanping_; }
    void setQuanping(const QString& value) { quanping_ = value; }
    // "退出全屏" stands on the stage only while quanping is not 0.
    bool exitControlVisible() const;

    // --- controls
    void chooseSelfMode();            // "自选模式"
    void chooseGameMode();            // "游戏模式"
    void chooseReview();              // "错题复习"
    void hoverSettings();             // the pointer moved over "设置"
    void openSettings();              // "设置"
    void nextPage();                  // "下页"
    void previousPage();              // "上页"
    void mainMenu();                  // "总目录"
    void chooseExercise(int number);  // an entry on a menu page
    void typeDigit(int digit);        // keypad "0".."9"
    void erase();                     // keypad "←"
    // "确定": the keypad's on a question screen, the completion screen's, or a box's.
    void confirm();
    void cancel();        // a box's "取消"
    void nextQuestion();  // "下一题"
    // "返回": from a question or answer screen, from the map, or closing the panel.
    void back();
    void startLevel();                 // the map's start control
    void askRestartGame();             // "重新开始"
    void askClearHistory();            // "清除历史纪录"
    void chooseSong(int choiceIndex);  // a song choice of the panel
    void holdVolume(int direction);    // "+" (1) or "-" (−1) went down
    void volumeTick();                 // every 50 ms while a volume button is held
    void releaseVolume();              // the volume button went up or the pointer left it
    void exitFullScreen();             // "退出全屏"

  private:
    void enter(Screen screen);
    void enterMenuPage1();
    void enterGameMap(Screen screen);
    void enterExercise(int number);
    void newQuestion();
    void check();
    void confirmOnClock();
    void enterRightAnswer();
    void enterWrongAnswer();
    void enterCompletion();
    void acknowledgeCompletion();
    QuestionScreen currentQuestionScreen() const;
    bool lastReviewQuestion() const;
    void nextReviewQuestion();
    bool controlsFree() const;  // no box and no panel in front
    void endRun();

    ProgressRecords& records_;
    const MonotonicClock& monotonic_;
    RunningClock clock_;
    UniformSource& source_;
    SoundChannel& channel_;
    MusicRules music_;
    GameMap map_;

    Screen screen_ = Screen::Stat;
    int introStep_ = 0;
    int xiangm_ = 0;
    int fenshu_ = 0;
    int tishu_ = 0;
    int tishudui_ = 0;
    int youxi_ = 0;
    int b320_ = 0;

    PracticeObserver* observer_;
    bool inRun_ = false;
    std::int64_t questionShownMs_ = 0;

    ReviewSource reviewSource_;
    std::vector<ReviewQuestion> reviewDue_;  // offered on the main menu
    std::vector<ReviewQuestion> review_;     // the run under way
    std::size_t reviewAt_ = 0;
    int reviewRight_ = 0;
    bool reviewing_ = false;

    std::optional<Question> question_;
    AnswerEntry entry_;
    QString xian3_;
    QString minute_;
    int xianY_ = kHourField;
    int clip_ = 0;

    std::int64_t completionMs_ = 0;
    bool newRecord_ = false;

    SettingsPanel panel_ = SettingsPanel::Hidden;
    int panelSlide_ = 0;
    ConfirmBox box_ = ConfirmBox::None;

    QString dongzuo_;  // absent until the scene asks something of the host
    QString quanping_ = QStringLiteral("0");
};

}  // namespace sumbrook
