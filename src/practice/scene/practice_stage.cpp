#include "practice_stage.h"

#include "practice/core/exercise_catalogue.h"
#include "practice/core/music_rules.h"
#include "screen_painters.h"
#include "stage_layout.h"

namespace sumbrook {

namespace layout = stage_layout;
using scene_style::ButtonKind;
using Trigger = StageControl::Trigger;

namespace {

const char* const kKeypad[] = {"7", "8", "9", "4", "5", "6", "1", "2", "3", "0", "←", "确定"};

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
    switch (screen) {
        case Screen::Zhongmulu: {
            controls.push_back(makeControl(QStringLiteral("自选模式"), layout::mainMenuButton(0),
                                           Trigger::Release, [&loop] { loop.chooseSelfMode(); }));
            controls.push_back(makeControl(
                QStringLiteral("游戏模式"), layout::mainMenuButton(1), Trigger::Release,
                [&loop] { loop.chooseGameMode(); }, ButtonKind::Secondary));
            controls.push_back(makeControl(
                QStringLiteral("设置"), layout::mainMenuButton(2), Trigger::Press,
                [&loop] { loop.openSettings(); }, ButtonKind::Quiet));
            break;
        }
        case Screen::Mulu1:
        case Screen::Mulu2: {
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
            controls.push_back(makeControl(
                QStringLiteral("总目录"), layout::kMenuBottomLeft, Trigger::Release,
                [&loop] { loop.mainMenu(); }, ButtonKind::Secondary));
            if (page == 1) {
                controls.push_back(makeControl(QStringLiteral("下页"), layout::kMenuBottomRight,
                                               Trigger::Release, [&loop] { loop.nextPage(); }));
            } else {
                controls.push_back(makeControl(QStringLiteral("上页"), layout::kMenuBottomRight,
                                               Trigger::Release, [&loop] { loop.previousPage(); }));
            }
            break;
        }
        case Screen::Fen100:
            controls.push_back(makeControl(
                QStringLiteral("确定"), layout::kCompletionOk, Trigger::Release,
                [&loop] { loop.confirm(); }, ButtonKind::Confirm));
            break;
        case Screen::Youxi:
        case Screen::Youxi1: {
            StageControl start = makeControl(
                QStringLiteral("开始"), layout::kMapStart, Trigger::Release,
                [&loop] { loop.startLevel(); }, ButtonKind::Confirm);
            start.name = QStringLiteral("go_btn");
            controls.push_back(start);
            controls.push_back(makeControl(
                QStringLiteral("重新开始"), layout::kMapRestart, Trigger::Release,
                [&loop] { loop.askRestartGame(); }, ButtonKind::Secondary));
            controls.push_back(makeControl(QStringLiteral("返回"), layout::kMapBack,
                                           Trigger::Release, [&loop] { loop.back(); }));
            break;
        }
        default:
            break;
    }
    if (isQuestionScreen(screen)) {
        for (int i = 0; i < 12; ++i) {
            const QString caption = QString::fromUtf8(kKeypad[i]);
            std::function<void()> action;
            ButtonKind kind = ButtonKind::Key;
            if (i == 10) {
                action = [&loop] { loop.erase(); };
                kind = ButtonKind::Erase;
            } else if (i == 11) {
                action = [&loop] { loop.confirm(); };
                kind = ButtonKind::Confirm;
            } else {
                const int digit = caption.toInt();
                action = [&loop, digit] { loop.typeDigit(digit); };
            }
            controls.push_back(makeControl(caption, layout::keypadKey(i), Trigger::Press,
                                           std::move(action), kind));
        }
    }
    if (isQuestionScreen(screen) || isAnswerScreen(screen)) {
        controls.push_back(makeControl(
            QStringLiteral("返回"), layout::kBack, Trigger::Release, [&loop] { loop.back(); },
            ButtonKind::Secondary));
        controls.push_back(makeControl(QStringLiteral("下一题"), layout::kNext, Trigger::Press,
                                       [&loop] { loop.nextQuestion(); }));
    }
}

void PracticeStage::addPanelControls(std::vector<StageControl>& controls) const {
    PracticeLoop& loop = *actions_;
    const auto& choices = MusicRules::choices();
    for (int i = 0; i < static_cast<int>(choices.size()); ++i) {
        controls.push_back(makeControl(
            QString::fromUtf8(choices[static_cast<std::size_t>(i)].caption), layout::songChoice(i),
            Trigger::Release, [&loop, i] { loop.chooseSong(i); }, ButtonKind::Quiet));
    }
    for (const int direction : {1, -1}) {
        StageControl c = makeControl(
            direction > 0 ? QStringLiteral("+") : QStringLiteral("-"),
            direction > 0 ? layout::kVolumeUp : layout::kVolumeDown, Trigger::Hold,
            [&loop, direction] { loop.holdVolume(direction); }, ButtonKind::Secondary);
        c.letGo = [&loop] { loop.releaseVolume(); };
        controls.push_back(c);
    }
    controls.push_back(makeControl(
        QStringLiteral("清除历史纪录"), layout::kClearHistory, Trigger::Release,
        [&loop] { loop.askClearHistory(); }, ButtonKind::Primary));
    controls.push_back(makeControl(
        QStringLiteral("返回"), layout::kPanelBack, Trigger::Release, [&loop] { loop.back(); },
        ButtonKind::Secondary));
}

void PracticeStage::addBoxControls(std::vector<StageControl>& controls) const {
    PracticeLoop& loop = *actions_;
    controls.push_back(makeControl(
        QStringLiteral("确定"), layout::kBoxOk, Trigger::Release, [&loop] { loop.confirm(); },
        ButtonKind::Confirm));
    controls.push_back(makeControl(
        QStringLiteral("取消"), layout::kBoxCancel, Trigger::Release, [&loop] { loop.cancel(); },
        ButtonKind::Secondary));
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
        addBoxControls(controls);
    } else if (loop_.settingsPanel() == SettingsPanel::Shown) {
        addPanelControls(controls);
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

QString PracticeStage::lookSignature() const {
    if (!started_) {
        return {};
    }
    QString s = screenName(loop_.screen());
    s += u'|' + QString::number(static_cast<int>(loop_.settingsPanel())) + u'|' +
         QString::number(loop_.panelSlideStep()) + u'|' +
         QString::number(static_cast<int>(loop_.confirmBox())) + u'|' + loop_.answerText() + u'|' +
         loop_.minuteText() + u'|' + QString::number(loop_.activeField()) + u'|' +
         QString::number(loop_.fenshu()) + u'|' + QString::number(loop_.tishu()) + u'|' +
         QString::number(loop_.music().yinliang()) + u'|' + pressedCaption_ + u'|' +
         QString::number(loop_.exitControlVisible()) + u'|' +
         QString::number(loop_.map().markerPosition());
    if (loop_.question()) {
        s += u'|' + correctAnswerText(*loop_.question()) +
             QString::number(static_cast<int>(loop_.question()->index()));
        if (const auto* q = std::get_if<TwoNumberQuestion>(&*loop_.question())) {
            s += q->xian1 + q->xian_fu + q->xian2 + q->xian4;
        } else if (const auto* e = std::get_if<ExpressionQuestion>(&*loop_.question())) {
            s += e->xian1;
        } else if (const auto* m = std::get_if<MoneyQuestion>(&*loop_.question())) {
            s += QString::number(m->picture);
        }
    }
    return s;
}

std::vector<QRectF> PracticeStage::movingRects() const {
    std::vector<QRectF> rects;
    if (!started_) {
        return rects;
    }
    const Screen screen = loop_.screen();
    if (screen == Screen::Stat || screen == Screen::Fen100 || loop_.map().moving()) {
        rects.push_back(QRectF(0, 0, 800, 600));  // whole-screen animations
        return rects;
    }
    if (isQuestionScreen(screen) || isAnswerScreen(screen)) {
        rects.push_back(QRectF(layout::kHeader.right() - 300, 0, 300, layout::kHeader.height()));
        if (isQuestionScreen(screen)) {
            rects.push_back(layout::kQuestionArea);  // the caret of an empty answer box
        } else {
            rects.push_back(QRectF(24, 72, 776, 528));  // the cheering or thinking bear
        }
    }
    // The sparkle trail, where it is visible.
    for (const SparkleTrail::Star& star : sparkles_.stars()) {
        if (star.opacity > 0) {
            rects.push_back(QRectF(star.position - QPointF(14, 14), QSizeF(28, 28)));
        }
    }
    return rects;
}

void PracticeStage::paintBackdrop(QPainter& painter) const {
    if (!started_) {
        return;
    }
    using namespace screen_painters;
    const Screen screen = loop_.screen();
    if (screen == Screen::Stat) {
        paintIntroBackdrop(painter, *this);
    } else if (screen == Screen::Zhongmulu) {
        paintMainMenuBackdrop(painter, *this);
    } else if (screen == Screen::Mulu1 || screen == Screen::Mulu2) {
        paintMenuPageBackdrop(painter, *this);
    } else if (isGameMap(screen)) {
        paintMapBackdrop(painter, *this);
    } else if (screen == Screen::Fen100) {
        paintCompletionBackdrop(painter, *this);
    } else if (isQuestionScreen(screen)) {
        paintQuestionBackdrop(painter, *this);
    } else if (isAnswerScreen(screen)) {
        paintAnswerBackdrop(painter, *this);
    }
}

void PracticeStage::paintControls(QPainter& painter) const {
    for (const StageControl& c : controls()) {
        if (c.drawnByScreen || c.rect.left() >= layout::kWidth) {
            continue;
        }
        scene_style::drawButton(painter, c.rect, c.caption, c.kind, isPressed(c));
    }
}

void PracticeStage::paintForeground(QPainter& painter) const {
    if (!started_) {
        return;
    }
    using namespace screen_painters;
    const Screen screen = loop_.screen();
    if (screen == Screen::Stat) {
        paintIntro(painter, *this);
    } else if (screen == Screen::Zhongmulu) {
        paintMainMenu(painter, *this);
    } else if (screen == Screen::Mulu1 || screen == Screen::Mulu2) {
        paintMenuPage(painter, *this);
    } else if (isGameMap(screen)) {
        paintMap(painter, *this);
    } else if (screen == Screen::Fen100) {
        paintCompletion(painter, *this);
    } else if (isQuestionScreen(screen)) {
        paintQuestion(painter, *this);
    } else if (isAnswerScreen(screen)) {
        paintAnswer(painter, *this);
    }
    if (loop_.settingsPanel() != SettingsPanel::Hidden) {
        paintSettingsPanel(painter, *this);
    }
    if (loop_.confirmBox() != ConfirmBox::None) {
        paintConfirmBox(painter, *this);
    }
    paintControls(painter);
    // The sparkle trail over everything.
    for (const SparkleTrail::Star& star : sparkles_.stars()) {
        if (star.opacity == 0 || star.scale <= 0) {
            continue;
        }
        painter.save();
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
    painter.setClipRect(QRectF(0, 0, layout::kWidth, layout::kHeight));
    paintBackdrop(painter);
    paintForeground(painter);
    painter.restore();
}

}  // namespace sumbrook
