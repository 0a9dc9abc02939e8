#include "practice_stage.h"

#include <algorithm>

#include "practice/core/exercise_catalogue.h"
#include "scene_timing.h"
#include "screen_table.h"
#include "screens/screen_painter.h"
#include "stage_layout.h"

namespace sumbrook {

namespace layout = stage_layout;
using scene_style::ButtonKind;
using Trigger = StageControl::Trigger;

namespace {

StageControl makeControl(const QString& caption, const QRectF& rect, Trigger trigger,
                         std::function<void()> action, ButtonKind kind = ButtonKind::Primary) {
    StageControl c;
    c.caption = caption;
    c.rect = rect;
    c.trigger = trigger;
    c.action = std::move(action);
    c.kind = kind;
    return c;
}

// Where a star of the trail may draw, turned and at its largest.
QRectF starRect(const SparkleTrail::Star& star) {
    return {star.position - QPointF(14, 14), QSizeF(28, 28)};
}

}  // namespace

PracticeStage::PracticeStage(ProgressStore& store, std::unique_ptr<SoundChannel> channel,
                             UniformSource& source, const MonotonicClock& clock,
                             PracticeObserver* observer)
    : store_(store),
      records_(store_),
      channel_(std::move(channel)),
      loop_(records_, clock, source, *channel_),
      actions_(&loop_) {
    loop_.setObserver(observer);
}

PracticeStage::~PracticeStage() = default;

void PracticeStage::start() {
    started_ = true;
    loop_.start();
    steps_ = 0;
    screenSince_ = 0;
    lastScreen_ = loop_.screen();
}

void PracticeStage::step() {
    if (!started_) {
        return;
    }
    ++steps_;
    loop_.step();
    starsBefore_.clear();
    for (const SparkleTrail::Star& star : sparkles_.stars()) {
        if (star.opacity > 0) {
            starsBefore_.push_back(starRect(star));
        }
    }
    sparkles_.step(pointer_);
    if (loop_.screen() != lastScreen_) {
        lastScreen_ = loop_.screen();
        screenSince_ = steps_;
    }
}

void PracticeStage::close() {
    if (!started_) {
        return;
    }
    loop_.close();
    records_.flush();
}

// --- controls

void PracticeStage::addScreenControls(std::vector<StageControl>& controls) const {
    PracticeLoop& loop = *actions_;
    const Screen screen = loop_.screen();
    // A menu page's entries, from the catalogue; the page draws them itself.
    if (screen == Screen::Mulu1 || screen == Screen::Mulu2) {
        const int page = screen == Screen::Mulu1 ? 1 : 2;
        for (int n = ExerciseCatalogue::kFirst; n <= ExerciseCatalogue::kLast; ++n) {
            const Exercise& e = ExerciseCatalogue::exercise(n);
            if (e.menuPage != page) {
                continue;
            }
            StageControl entry = makeControl(
                ExerciseCatalogue::title(n), layout::menuEntry(page, e.column, e.row),
                Trigger::Release, [&loop, n] { loop.chooseExercise(n); }, ButtonKind::Menu);
            entry.name = QString::number(n);
            entry.drawnByScreen = true;
            controls.push_back(entry);
        }
    }
    screen_table::addControls(screen_table::screenControls(screen, loop_.reviewOffered()), loop,
                              controls);
}

std::vector<StageControl> PracticeStage::controls() const {
    std::vector<StageControl> controls;
    if (!started_) {
        return controls;
    }
    PracticeLoop& loop = *actions_;
    // Front to back: the exit control, a box, the panel, then the screen.
    controls.push_back(makeControl(
        QStringLiteral("退出全屏"),
        loop_.exitControlVisible() ? layout::kExitOnStage : layout::kExitOffStage, Trigger::Release,
        [&loop] { loop.exitFullScreen(); }, ButtonKind::Quiet));
    if (loop_.confirmBox() != ConfirmBox::None) {
        screen_table::addControls(screen_table::boxControls(), loop, controls);
    } else if (loop_.settingsPanel() == SettingsPanel::Shown) {
        screen_table::addControls(screen_table::panelControls(), loop, controls);
    } else if (loop_.settingsPanel() == SettingsPanel::Hidden) {
        addScreenControls(controls);
    }
    return controls;
}

std::optional<StageControl> PracticeStage::control(const QString& caption) const {
    for (StageControl& c : controls()) {
        if (c.caption == caption) {
            return c;
        }
    }
    return std::nullopt;
}

std::optional<StageControl> PracticeStage::controlAt(QPointF at) const {
    for (StageControl& c : controls()) {
        if (c.rect.contains(at)) {
            return c;
        }
    }
    return std::nullopt;
}

bool PracticeStage::isPressed(const StageControl& control) const {
    return !pressedCaption_.isEmpty() && control.caption == pressedCaption_ &&
           control.rect == pressedRect_;
}

// --- the pointer

void PracticeStage::pointerMoved(QPointF at) {
    pointer_ = at;
    const auto under = controlAt(at);
    const bool overSettings = under && under->caption == QStringLiteral("设置");
    if (overSettings && !overSettings_) {
        loop_.hoverSettings();
    }
    overSettings_ = overSettings;
    // A held volume button lets go as soon as the pointer leaves it.
    if (!pressedCaption_.isEmpty() && !pressedRect_.contains(at)) {
        if (const auto held = control(pressedCaption_); held && held->letGo) {
            held->letGo();
            pressedCaption_.clear();
        }
    }
}

void PracticeStage::pointerPressed(QPointF at) {
    pointer_ = at;
    const auto under = controlAt(at);
    if (!under) {
        return;
    }
    pressedCaption_ = under->caption;
    pressedRect_ = under->rect;
    if (under->trigger != Trigger::Release && under->action) {
        under->action();
    }
}

void PracticeStage::pointerReleased(QPointF at) {
    pointer_ = at;
    if (pressedCaption_.isEmpty()) {
        return;
    }
    const QString caption = pressedCaption_;
    const QRectF rect = pressedRect_;
    pressedCaption_.clear();
    for (const StageControl& c : controls()) {
        if (c.caption != caption || c.rect != rect) {
            continue;
        }
        if (c.trigger == Trigger::Hold && c.letGo) {
            c.letGo();
        } else if (c.trigger == Trigger::Release && c.rect.contains(at) && c.action) {
            c.action();
        }
        return;
    }
}

bool PracticeStage::press(const QString& caption) {
    const auto c = control(caption);
    if (!c) {
        return false;
    }
    pointerMoved(c->rect.center());
    pointerPressed(c->rect.center());
    return true;
}

bool PracticeStage::release(const QString& caption) {
    if (pressedCaption_ != caption) {
        return false;
    }
    pointerReleased(pressedRect_.center());
    return true;
}

bool PracticeStage::click(const QString& caption) {
    return press(caption) && release(caption);
}

// --- painting

StageLook PracticeStage::look() const {
    StageLook look;
    if (!started_) {
        return look;
    }
    look.started = true;
    look.screen = loop_.screen();
    look.panel = loop_.settingsPanel();
    look.panelSlide = loop_.panelSlideStep();
    look.box = loop_.confirmBox();
    look.exitVisible = loop_.exitControlVisible();
    look.question = loop_.question();
    look.answer = loop_.answerText();
    look.minute = loop_.minuteText();
    look.activeField = loop_.activeField();
    look.fenshu = loop_.fenshu();
    look.tishu = loop_.tishu();
    look.tishudui = loop_.tishudui();
    look.tishuLs = loop_.tishuLs();
    look.tishuduiLs = loop_.tishuduiLs();
    look.level = loop_.levelText();
    look.bestTime = loop_.bestTimeText();
    look.answerClip = loop_.answerClip();
    look.completionMs = loop_.completionMs();
    look.newRecord = loop_.newRecord();
    look.reviewOffered = loop_.reviewOffered();
    look.gameLevel = loop_.gameLevel();
    look.marker = loop_.map().markerPosition();
    look.yinliang = loop_.music().yinliang();
    look.song = loop_.music().currentSong();
    look.songRepeats = loop_.music().repeatingPickedSong();
    look.pressedCaption = pressedCaption_;
    look.pressedRect = pressedRect_;
    return look;
}

BackdropKey PracticeStage::backdropKey() const {
    BackdropKey key;
    if (!started_) {
        return key;
    }
    key.started = true;
    key.screen = loop_.screen();
    key.exitVisible = loop_.exitControlVisible();
    key.panelShown = loop_.settingsPanel() == SettingsPanel::Shown;
    key.box = loop_.confirmBox();
    key.reviewOffered = loop_.reviewOffered();
    if (key.box != ConfirmBox::None) {
        key.behindBox = look();
        key.behindBox->pressedCaption.clear();
        key.behindBox->pressedRect = QRectF();
    }
    // An answer screen keeps all it shows but the running time and the bear in its
    // backdrop.
    if (isAnswerScreen(key.screen) && key.box == ConfirmBox::None) {
        key.answerShown = look();
        key.answerShown->pressedCaption.clear();
        key.answerShown->pressedRect = QRectF();
    }
    key.controls = controlsInBackdrop();
    if (key.controls) {
        key.pressedCaption = pressedCaption_;
        key.pressedRect = pressedRect_;
        if (key.panelShown) {
            // The panel's values stand with its controls.
            key.volume = loop_.music().yinliang();
            key.song = loop_.music().currentSong();
            key.songRepeats = loop_.music().repeatingPickedSong();
        }
    }
    return key;
}

std::vector<QRectF> PracticeStage::movingRects() const {
    if (!started_) {
        return {};
    }
    std::vector<QRectF> rects = screenPainter(loop_.screen()).changingRects(*this);
    if (!rects.empty() && rects.front() == layout::kStage) {
        return rects;  // a whole-screen animation
    }
    // The sparkle trail, where it is lit and where it was lit before this step.
    for (const SparkleTrail::Star& star : sparkles_.stars()) {
        if (star.opacity > 0) {
            rects.push_back(starRect(star));
        }
    }
    for (const QRectF& before : starsBefore_) {
        if (std::find(rects.begin(), rects.end(), before) == rects.end()) {
            rects.push_back(before);
        }
    }
    return rects;
}

void PracticeStage::paintScenery(QPainter& painter) const {
    if (!started_) {
        return;
    }
    screenPainter(loop_.screen()).paintBackdrop(painter, *this);
    // Behind a box everything stands still; a panel that has slid in keeps its card.
    if (loop_.confirmBox() != ConfirmBox::None) {
        screenPainter(loop_.screen()).paintMoving(painter, *this, layout::kStage);
        if (loop_.settingsPanel() != SettingsPanel::Hidden) {
            settingsPanelPainter().paintBackdrop(painter, *this);
        }
        confirmBoxPainter().paintBackdrop(painter, *this);
    } else if (loop_.settingsPanel() == SettingsPanel::Shown) {
        settingsPanelPainter().paintBackdrop(painter, *this);
    }
}

void PracticeStage::paintBackdropControls(QPainter& painter) const {
    if (!controlsInBackdrop()) {
        return;
    }
    if (loop_.settingsPanel() == SettingsPanel::Shown) {
        settingsPanelPainter().paintMoving(painter, *this, layout::kStage);  // its values
    }
    paintControls(painter, layout::kStage);
}

void PracticeStage::paintBackdrop(QPainter& painter) const {
    paintScenery(painter);
    paintBackdropControls(painter);
}

BackdropKey PracticeStage::sceneryKey() const {
    BackdropKey key = backdropKey();
    // Controls the screen draws itself (a menu page's entries) are part of its scenery.
    const std::vector<StageControl> all = controls();
    const bool drawnByScreen =
        std::any_of(all.begin(), all.end(), [](const StageControl& c) { return c.drawnByScreen; });
    if (!drawnByScreen) {
        key.pressedCaption.clear();
        key.pressedRect = QRectF();
    }
    key.volume = 0;
    key.song.clear();
    key.songRepeats = false;
    return key;
}

bool PracticeStage::controlsInBackdrop() const {
    if (!started_ || loop_.confirmBox() != ConfirmBox::None ||
        loop_.settingsPanel() == SettingsPanel::SlidingIn) {
        return false;
    }
    const std::vector<QRectF> changing = screenPainter(loop_.screen()).changingRects(*this);
    if (loop_.settingsPanel() == SettingsPanel::Shown) {
        // The panel's values and controls stand in front of the screen: only a screen
        // that keeps still behind them lets them into the backdrop.
        return changing.empty();
    }
    // Whole-stage animations (the intro, the completion's confetti, the bear walking the
    // map) may pass over a control.
    return changing.empty() || changing.front() != layout::kStage;
}

void PracticeStage::paintControls(QPainter& painter, const QRectF& region) const {
    for (const StageControl& c : controls()) {
        // A button's edge and its pressed face reach a few units below its rectangle.
        if (c.drawnByScreen || c.rect.left() >= layout::kWidth ||
            !region.intersects(c.rect.adjusted(-2, -2, 2, 6))) {
            continue;
        }
        scene_style::drawButton(painter, c.rect, c.caption, c.kind, isPressed(c));
    }
}

void PracticeStage::paintForeground(QPainter& painter, const QRectF& region) const {
    if (!started_) {
        return;
    }
    const bool controlsInFront = !controlsInBackdrop();
    if (loop_.confirmBox() == ConfirmBox::None) {
        screenPainter(loop_.screen()).paintMoving(painter, *this, region);
        if (loop_.settingsPanel() != SettingsPanel::Hidden && controlsInFront) {
            settingsPanelPainter().paintMoving(painter, *this, region);
        }
    }
    if (controlsInFront) {
        paintControls(painter, region);
    }
    // The sparkle trail over everything.
    for (const SparkleTrail::Star& star : sparkles_.stars()) {
        if (star.opacity == 0 || star.scale <= 0) {
            continue;
        }
        // Past the middle of its life a star fades as it shrinks, so none is left standing
        // on a caption.
        const int phase = star.phase % SparkleTrail::kStars;
        painter.save();
        painter.setOpacity(phase <= timing::kStarFadeFrom
                               ? 1.0
                               : 1.0 - (phase - timing::kStarFadeFrom) * timing::kStarFadePerStep);
        painter.translate(star.position);
        painter.rotate(star.rotation);
        const QColor colour(255, std::clamp(star.green, 0, 255), 0);
        scene_style::drawStar(painter, QPointF(0, 0), 40 * star.scale / 100, colour,
                              colour.darker(120));
        painter.restore();
    }
}

void PracticeStage::paint(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(layout::kStage);
    paintBackdrop(painter);
    paintForeground(painter);
    painter.restore();
}

}  // namespace sumbrook
