#include "practice_loop.h"

#include <iterator>
#include <variant>

#include "exercise_catalogue.h"
#include "question_generator.h"
#include "random_draws.h"
#include "sound_names.h"
#include "zhuanhuan.h"

namespace sumbrook {

namespace {

PracticeObserver& nobody() {
    static PracticeObserver silent;
    return silent;
}

QuestionScreen screenAsking(const Question& question) {
    constexpr QuestionScreen byKind[] = {QuestionScreen::Jia, QuestionScreen::Lianjia,
                                         QuestionScreen::Rmb, QuestionScreen::Shijian};
    static_assert(std::variant_size_v<Question> == std::size(byKind));
    return byKind[question.index()];
}

}  // namespace

PracticeLoop::PracticeLoop(ProgressRecords& records, const MonotonicClock& clock,
                           UniformSource& source, SoundChannel& channel)
    : records_(records),
      monotonic_(clock),
      clock_(clock),
      source_(source),
      channel_(channel),
      music_(channel, source),
      observer_(&nobody()) {}

void PracticeLoop::setObserver(PracticeObserver* observer) {
    observer_ = observer ? observer : &nobody();
}

void PracticeLoop::setReviewSource(ReviewSource source) {
    reviewSource_ = std::move(source);
}

void PracticeLoop::refreshReview() {
    reviewDue_ = reviewSource_ ? reviewSource_() : std::vector<ReviewQuestion>{};
}

void PracticeLoop::close() {
    endRun();
}

void PracticeLoop::endRun() {
    if (inRun_) {
        inRun_ = false;
        observer_->runEnded(xiangm_);
    }
    if (reviewing_) {
        reviewing_ = false;
        review_.clear();
        observer_->reviewEnded();
    }
}

void PracticeLoop::start() {
    tishu_ = 0;
    tishudui_ = 0;
    quanping_ = QStringLiteral("0");
    records_.load();
    screen_ = Screen::Stat;
    introStep_ = 0;
    channel_.playEffect(sound_names::introJingle());
}

void PracticeLoop::step() {
    if (screen_ == Screen::Stat) {
        if (++introStep_ >= kIntroSteps) {
            music_.boofang();
            enter(Screen::Zhongmulu);
        }
    }
    if (panel_ == SettingsPanel::SlidingIn && ++panelSlide_ >= kPanelSlideSteps) {
        panel_ = SettingsPanel::Shown;
        music_.panelShown();
    }
    map_.step();
}

QString PracticeLoop::levelText() const {
    if (reviewing_) {
        return QStringLiteral("错题复习");
    }
    return ExerciseCatalogue::contains(xiangm_) ? ExerciseCatalogue::levelText(xiangm_) : QString();
}

QString PracticeLoop::runningTimeText() const {
    return zhuanhuan(clock_.elapsedMs());
}

QString PracticeLoop::bestTimeText() const {
    // A review is no exercise and keeps no best time.
    if (reviewing_) {
        return QStringLiteral("—");
    }
    return zhuanhuan(records_.bestTime(xiangm_));
}

bool PracticeLoop::exitControlVisible() const {
    bool isNumber = false;
    const double value = quanping_.trimmed().toDouble(&isNumber);
    return isNumber && value != 0;
}

bool PracticeLoop::controlsFree() const {
    return box_ == ConfirmBox::None && panel_ == SettingsPanel::Hidden;
}

// --- screens

void PracticeLoop::enter(Screen screen) {
    // Every screen entered this way lies outside an exercise.
    endRun();
    screen_ = screen;
    switch (screen) {
        case Screen::Mulu1:
            youxi_ = 0;
            fenshu_ = 0;
            xiangm_ = 0;
            clock_.requestRestart();
            b320_ = 0;
            break;
        case Screen::Mulu2:
            fenshu_ = 0;
            break;
        case Screen::Zhongmulu:
            refreshReview();
            break;
        case Screen::Youxi1:
            youxi_ = kGameModeOn;
            fenshu_ = 0;
            xiangm_ = 0;
            b320_ = 0;
            clock_.requestRestart();
            map_.placeAt(records_.level());
            break;
        case Screen::Youxi:
            youxi_ = kGameModeOn;
            xiangm_ = 0;
            fenshu_ = 0;
            clock_.requestRestart();
            if (b320_ == kCompletionMarker) {
                const int level = records_.level();
                map_.advance(level - 1, level);
                b320_ = 0;
            } else {
                map_.placeAt(records_.level());
            }
            break;
        default:
            break;
    }
}

void PracticeLoop::enterMenuPage1() {
    enter(Screen::Mulu1);
}

void PracticeLoop::enterExercise(int number) {
    endRun();
    xiangm_ = number;
    inRun_ = true;
    observer_->runStarted(number);
    screen_ = questionScreenOf(ExerciseCatalogue::screen(number));
    newQuestion();
}

void PracticeLoop::newQuestion() {
    clock_.questionStarted();
    entry_.clear();
    xian3_.clear();
    minute_.clear();
    xianY_ = kHourField;
    question_ =
        reviewing_ ? review_[reviewAt_].question : QuestionGenerator::generate(xiangm_, source_);
    questionShownMs_ = monotonic_.nowMs();
}

QuestionScreen PracticeLoop::currentQuestionScreen() const {
    return reviewing_ ? screenAsking(review_[reviewAt_].question)
                      : ExerciseCatalogue::screen(xiangm_);
}

bool PracticeLoop::lastReviewQuestion() const {
    return reviewAt_ + 1 >= review_.size();
}

void PracticeLoop::nextReviewQuestion() {
    if (lastReviewQuestion()) {
        enterCompletion();
        return;
    }
    ++reviewAt_;
    screen_ = questionScreenOf(currentQuestionScreen());
    newQuestion();
}

// --- main menu, menu pages

void PracticeLoop::chooseSelfMode() {
    if (screen_ == Screen::Zhongmulu && controlsFree()) {
        enterMenuPage1();
    }
}

void PracticeLoop::chooseGameMode() {
    if (screen_ == Screen::Zhongmulu && controlsFree()) {
        enter(Screen::Youxi1);
    }
}

void PracticeLoop::chooseReview() {
    if (screen_ != Screen::Zhongmulu || !controlsFree() || reviewDue_.empty()) {
        return;
    }
    endRun();
    review_ = std::move(reviewDue_);
    reviewDue_.clear();
    reviewAt_ = 0;
    reviewRight_ = 0;
    reviewing_ = true;
    // The main menu may have been reached from the game map, which leaves game mode on.
    youxi_ = 0;
    xiangm_ = 0;
    fenshu_ = 0;
    b320_ = 0;
    clock_.requestRestart();
    observer_->reviewStarted();
    screen_ = questionScreenOf(currentQuestionScreen());
    newQuestion();
}

void PracticeLoop::hoverSettings() {
    if (screen_ == Screen::Zhongmulu && controlsFree()) {
        channel_.playEffect(sound_names::settingsHover());
    }
}

void PracticeLoop::openSettings() {
    if (screen_ == Screen::Zhongmulu && controlsFree()) {
        channel_.playEffect(sound_names::settingsPress());
        panel_ = SettingsPanel::SlidingIn;
        panelSlide_ = 0;
    }
}

void PracticeLoop::nextPage() {
    if (screen_ == Screen::Mulu1) {
        enter(Screen::Mulu2);
    }
}

void PracticeLoop::previousPage() {
    if (screen_ == Screen::Mulu2) {
        enterMenuPage1();
    }
}

void PracticeLoop::mainMenu() {
    if (screen_ == Screen::Mulu1 || screen_ == Screen::Mulu2) {
        enter(Screen::Zhongmulu);
    }
}

void PracticeLoop::chooseExercise(int number) {
    if (!ExerciseCatalogue::contains(number)) {
        return;
    }
    const int page = ExerciseCatalogue::exercise(number).menuPage;
    const bool onItsPage =
        (page == 1 && screen_ == Screen::Mulu1) || (page == 2 && screen_ == Screen::Mulu2);
    if (!onItsPage) {
        return;
    }
    if (number == 37) {
        fenshu_ = 0;
    }
    enterExercise(number);
}

// --- keypad

void PracticeLoop::typeDigit(int digit) {
    if (!isQuestionScreen(screen_) || digit < 0 || digit > 9) {
        return;
    }
    entry_.typeDigit(digit);
    (xianY_ == kHourField ? xian3_ : minute_) = entry_.afterDigit();
}

void PracticeLoop::erase() {
    if (!isQuestionScreen(screen_)) {
        return;
    }
    if (screen_ == Screen::Shijian && xianY_ == kMinuteField && minute_.isEmpty()) {
        xianY_ = kHourField;
        entry_.setFromText(xian3_);
        return;
    }
    entry_.erase();
    (xianY_ == kHourField ? xian3_ : minute_) = entry_.afterErase();
}

void PracticeLoop::confirm() {
    switch (box_) {
        case ConfirmBox::ClearHistory:
            records_.clearHistory();
            observer_->historyCleared();
            box_ = ConfirmBox::None;
            return;
        case ConfirmBox::RestartGame:
            records_.setLevel(0);
            observer_->levelChanged(0);
            enter(Screen::Youxi1);
            box_ = ConfirmBox::None;
            return;
        case ConfirmBox::None:
            break;
    }
    if (screen_ == Screen::Fen100) {
        acknowledgeCompletion();
    } else if (screen_ == Screen::Shijian) {
        confirmOnClock();
    } else if (isQuestionScreen(screen_)) {
        check();
    }
}

void PracticeLoop::confirmOnClock() {
    if (xianY_ == kHourField || minute_.isEmpty()) {
        xianY_ = kMinuteField;
        entry_.clear();
        return;
    }
    check();
}

void PracticeLoop::check() {
    if (!question_) {
        return;
    }
    ++tishu_;
    if (!reviewing_) {
        records_.countQuestion();
    }

    bool right = xian3_ == QString::number(expectedAnswer(*question_));
    if (const auto* clock = std::get_if<ClockQuestion>(&*question_)) {
        right = right && minute_ == QString::number(clock->deshu0);
    }
    observer_->answered({reviewing_ ? review_[reviewAt_].xiangm : xiangm_,
                         shownQuestionText(*question_), expectedAnswerText(*question_),
                         typedAnswerText(*question_, xian3_, minute_), right,
                         monotonic_.nowMs() - questionShownMs_, factOf(*question_), reviewing_});

    // A wrong last answer of a review still shows its answer screen, with the right answer.
    const bool ends = fenshu_ + kScoreStep > 99.2 || (reviewing_ && lastReviewQuestion());
    if (right && reviewing_) {
        ++reviewRight_;
    }
    if (right && ends) {
        ++tishudui_;
        if (!reviewing_) {
            records_.countRightAnswer();
        }
        enterCompletion();
    } else if (right) {
        enterRightAnswer();
    } else {
        enterWrongAnswer();
    }
}

// --- answer screens and completion

void PracticeLoop::enterRightAnswer() {
    screen_ = rightAnswerScreenOf(currentQuestionScreen());
    fenshu_ += kScoreStep;
    ++tishudui_;
    if (!reviewing_) {
        records_.countRightAnswer();
    }
    clip_ = pickOfThree(source_);
    channel_.playEffect(sound_names::praise(clip_));
}

void PracticeLoop::enterWrongAnswer() {
    screen_ = wrongAnswerScreenOf(currentQuestionScreen());
    fenshu_ = fenshu_ - kScoreStep > 0 ? fenshu_ - kScoreStep : 0;
    clip_ = pickOfThree(source_);
    channel_.playEffect(sound_names::comfort(clip_));
}

void PracticeLoop::enterCompletion() {
    screen_ = Screen::Fen100;
    completionMs_ = clock_.elapsedMs();
    if (reviewing_) {
        newRecord_ = false;
        observer_->reviewCompleted(completionMs_);
        channel_.playEffect(sound_names::fanfare());
        return;
    }
    newRecord_ = records_.recordCompletion(xiangm_, completionMs_);
    observer_->completed(xiangm_, completionMs_);
    b320_ = kCompletionMarker;
    channel_.playEffect(sound_names::fanfare());
}

void PracticeLoop::acknowledgeCompletion() {
    newRecord_ = false;
    if (reviewing_) {
        enter(Screen::Zhongmulu);
    } else if (youxi_ == kGameModeOn) {
        records_.setLevel(records_.level() + 1);
        observer_->levelChanged(records_.level());
        enter(Screen::Youxi);
    } else {
        enterMenuPage1();
    }
}

void PracticeLoop::nextQuestion() {
    if (reviewing_ && (isAnswerScreen(screen_) || isQuestionScreen(screen_))) {
        // On a question screen the question is passed over: it stays due for another day.
        nextReviewQuestion();
    } else if (isAnswerScreen(screen_)) {
        // The score shown on an answer screen is below 100: the right answer that reaches
        // it goes straight to completion from check().
        screen_ = questionScreenOf(currentQuestionScreen());
        newQuestion();
    } else if (isQuestionScreen(screen_)) {
        // Asks a fresh question in place of the shown one; nothing is counted or scored.
        newQuestion();
    }
}

void PracticeLoop::back() {
    if (box_ != ConfirmBox::None) {
        return;
    }
    if (panel_ != SettingsPanel::Hidden) {
        panel_ = SettingsPanel::Hidden;
        music_.releaseVolume();
        return;
    }
    if (isQuestionScreen(screen_) || isAnswerScreen(screen_)) {
        if (reviewing_) {
            enter(Screen::Zhongmulu);
        } else if (youxi_ == kGameModeOn) {
            enter(Screen::Youxi);
        } else {
            enterMenuPage1();
        }
    } else if (isGameMap(screen_)) {
        enter(Screen::Zhongmulu);
    }
}

// --- game map

void PracticeLoop::startLevel() {
    if (!isGameMap(screen_) || box_ != ConfirmBox::None) {
        return;
    }
    const int exercise = GameMap::exerciseForLevel(records_.level());
    if (exercise != 0) {
        enterExercise(exercise);
    }
}

void PracticeLoop::askRestartGame() {
    if (isGameMap(screen_) && box_ == ConfirmBox::None) {
        box_ = ConfirmBox::RestartGame;
    }
}

void PracticeLoop::cancel() {
    box_ = ConfirmBox::None;
}

// --- settings panel

void PracticeLoop::askClearHistory() {
    if (panel_ == SettingsPanel::Shown && box_ == ConfirmBox::None) {
        box_ = ConfirmBox::ClearHistory;
    }
}

void PracticeLoop::chooseSong(int choiceIndex) {
    if (panel_ == SettingsPanel::Shown && box_ == ConfirmBox::None) {
        music_.choose(choiceIndex);
    }
}

void PracticeLoop::holdVolume(int direction) {
    if (panel_ == SettingsPanel::Shown && box_ == ConfirmBox::None) {
        music_.holdVolume(direction);
    }
}

void PracticeLoop::volumeTick() {
    if (music_.holding()) {
        music_.holdTick();
    }
}

void PracticeLoop::releaseVolume() {
    music_.releaseVolume();
}

void PracticeLoop::exitFullScreen() {
    if (exitControlVisible()) {
        dongzuo_ = kLeaveFullScreen;
    }
}

}  // namespace sumbrook
