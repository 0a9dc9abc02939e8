// The physical keyboard against the on-screen keys: two stages with the same seed are
// brought to the same screen, one gets the key and the other a tap on the control the key
// stands for, and both must end in the same state with the same sounds.
#include "practice/scene/scene_keyboard.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <vector>

#include "practice/core/exercise_catalogue.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_widget.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

// One stage and what it played.
struct Rig {
    Rig() {
        auto fake = std::make_unique<testing::FakeSoundChannel>();
        channel = fake.get();
        stage = std::make_unique<PracticeStage>(store, std::move(fake), source, clock);
        stage->start();
        for (int i = 0; i < PracticeLoop::kIntroSteps; ++i) {
            stage->step();
        }
    }
    // Everything a key may change, as one comparable text.
    QString state() const {
        const PracticeLoop& loop = stage->loop();
        QString s = screenName(loop.screen()) + u'|' + loop.answerText() + u'|' +
                    loop.minuteText() + u'|' + QString::number(loop.activeField()) + u'|' +
                    QString::number(loop.fenshu()) + u'|' + QString::number(loop.tishu()) + u'|' +
                    QString::number(loop.tishudui());
        if (loop.question()) {
            s += u'|' + correctAnswerText(*loop.question());
        }
        return s + u'|' + channel->log.join(u',');
    }

    QTemporaryDir dir;
    ProgressStore store{dir.path()};
    testing::ManualClock clock;
    SeededUniformSource source{11};
    testing::FakeSoundChannel* channel = nullptr;
    std::unique_ptr<PracticeStage> stage;
};

// Taps that bring a stage to a screen; "=" stands for the right answer to the question up,
// "!" for a wrong one (the right answer plus one), both typed digit by digit.
void drive(PracticeStage& stage, const std::vector<QString>& taps) {
    for (const QString& tap : taps) {
        if (tap == u'=' || tap == u'!') {
            const Question& q = *stage.loop().question();
            const int answer = expectedAnswer(q) + (tap == u'!' ? 1 : 0);
            for (const QChar c : QString::number(answer)) {
                ASSERT_TRUE(stage.click(QString(c)));
            }
            continue;
        }
        ASSERT_TRUE(stage.click(tap)) << tap.toStdString();
    }
}

const QString kJia = ExerciseCatalogue::title(4);       // 10以内的加法, page 1
const QString kLianjia = ExerciseCatalogue::title(25);  // page 2
const QString kClock = ExerciseCatalogue::title(36);
const QString kMoney = ExerciseCatalogue::title(37);

struct KeyRow {
    const char* what;
    std::vector<QString> taps;  // from the main menu
    int key;
    Qt::KeyboardModifiers modifiers;
    QString twin;  // the control the key stands for; empty when it must do nothing
};

void PrintTo(const KeyRow& row, std::ostream* out) {
    *out << row.what;
}

const QString kSelf = QStringLiteral("自选模式");
const QString kNextPage = QStringLiteral("下页");
const QString kOk = QStringLiteral("确定");

std::vector<KeyRow> keyRows() {
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const std::vector<QString> jia = {kSelf, kJia};
    const std::vector<QString> lianjia = {kSelf, kNextPage, kLianjia};
    const std::vector<QString> clock = {kSelf, kNextPage, kClock};
    const std::vector<QString> money = {kSelf, kNextPage, kMoney};
    auto with = [](std::vector<QString> taps, std::initializer_list<QString> more) {
        taps.insert(taps.end(), more);
        return taps;
    };
    return {
        {"digit_on_two_number", jia, Qt::Key_7, none, QStringLiteral("7")},
        {"second_digit", with(jia, {QStringLiteral("1")}), Qt::Key_0, none, QStringLiteral("0")},
        {"keypad_digit", jia, Qt::Key_3, Qt::KeypadModifier, QStringLiteral("3")},
        {"digit_on_expression", lianjia, Qt::Key_5, none, QStringLiteral("5")},
        {"digit_on_money", money, Qt::Key_9, none, QStringLiteral("9")},
        {"digit_on_clock_hour", clock, Qt::Key_4, none, QStringLiteral("4")},
        {"digit_on_clock_minute", with(clock, {QStringLiteral("3"), kOk}), Qt::Key_2, none,
         QStringLiteral("2")},
        {"backspace_erases", with(jia, {QStringLiteral("1"), QStringLiteral("2")}),
         Qt::Key_Backspace, none, QStringLiteral("←")},
        {"backspace_on_empty_entry", jia, Qt::Key_Backspace, none, QStringLiteral("←")},
        {"backspace_on_empty_minutes_goes_back_to_hours", with(clock, {QStringLiteral("8"), kOk}),
         Qt::Key_Backspace, none, QStringLiteral("←")},
        {"enter_confirms_right", with(jia, {QStringLiteral("=")}), Qt::Key_Return, none, kOk},
        {"enter_confirms_wrong", with(lianjia, {QStringLiteral("!")}), Qt::Key_Return, none, kOk},
        {"enter_confirms_empty", money, Qt::Key_Return, none, kOk},
        {"keypad_enter_confirms", with(jia, {QStringLiteral("=")}), Qt::Key_Enter,
         Qt::KeypadModifier, kOk},
        {"enter_moves_clock_to_minutes", with(clock, {QStringLiteral("5")}), Qt::Key_Return, none,
         kOk},
        {"enter_on_right_answer_screen", with(jia, {QStringLiteral("="), kOk}), Qt::Key_Return,
         none, QStringLiteral("下一题")},
        {"enter_on_wrong_answer_screen", with(money, {kOk}), Qt::Key_Enter, Qt::KeypadModifier,
         QStringLiteral("下一题")},
        {"enter_on_clock_answer_screen",
         with(clock, {QStringLiteral("="), kOk, QStringLiteral("1"), kOk}), Qt::Key_Return, none,
         QStringLiteral("下一题")},
        // Nothing else acts.
        {"digit_on_answer_screen", with(jia, {QStringLiteral("="), kOk}), Qt::Key_1, none, {}},
        {"backspace_on_answer_screen", with(jia, {kOk}), Qt::Key_Backspace, none, {}},
        {"enter_on_main_menu", {}, Qt::Key_Return, none, {}},
        {"enter_on_menu_page", {kSelf}, Qt::Key_Return, none, {}},
        {"digit_on_menu_page", {kSelf}, Qt::Key_1, none, {}},
        {"letter_on_question", jia, Qt::Key_A, none, {}},
        {"space_on_question", jia, Qt::Key_Space, none, {}},
        {"escape_on_question", jia, Qt::Key_Escape, none, {}},
        {"ctrl_digit_is_a_shortcut", jia, Qt::Key_5, Qt::ControlModifier, {}},
        {"alt_enter_is_a_shortcut", jia, Qt::Key_Return, Qt::AltModifier, {}},
    };
}

class SceneKeyActsAsItsTwin : public ::testing::TestWithParam<KeyRow> {};

TEST_P(SceneKeyActsAsItsTwin, SameStateAndSoundsAsTheOnScreenControl) {
    const KeyRow& row = GetParam();
    Rig keyed;
    Rig tapped;
    drive(*keyed.stage, row.taps);
    drive(*tapped.stage, row.taps);
    ASSERT_EQ(keyed.state(), tapped.state());
    const QString before = keyed.state();

    SceneKeyboard keyboard(*keyed.stage);
    const bool took = keyboard.keyPressed(row.key, row.modifiers, false);
    EXPECT_EQ(took, !row.twin.isEmpty());
    if (!row.twin.isEmpty()) {
        // Acting on press, as the twin does: the state is there before the key comes up.
        ASSERT_TRUE(tapped.stage->press(row.twin));
        EXPECT_EQ(keyed.state(), tapped.state());
        if (const auto twin = keyed.stage->control(row.twin)) {
            EXPECT_TRUE(keyed.stage->isPressed(*twin)) << "drawn pressed while the key is down";
        }
        tapped.stage->release(row.twin);
    }
    EXPECT_EQ(keyboard.keyReleased(row.key, false), took);
    EXPECT_EQ(keyed.state(), row.twin.isEmpty() ? before : tapped.state());
    // Let go: no control is left drawn pressed, and the mouse still works.
    for (const StageControl& c : keyed.stage->controls()) {
        EXPECT_FALSE(keyed.stage->isPressed(c)) << c.caption.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SceneKeyActsAsItsTwin, ::testing::ValuesIn(keyRows()),
                         [](const ::testing::TestParamInfo<KeyRow>& row) {
                             return std::string(row.param.what);
                         });

TEST(SceneKeyboard, AHeldKeyTypesOnceAndEnterComesUpOnTheNextScreen) {
    Rig rig;
    drive(*rig.stage, {kSelf, kJia});
    SceneKeyboard keyboard(*rig.stage);
    const QPointF mouse(12, 34);
    rig.stage->pointerMoved(mouse);

    ASSERT_TRUE(keyboard.keyPressed(Qt::Key_6, Qt::NoModifier, false));
    for (int i = 0; i < 5; ++i) {  // the system's auto-repeat while the key is held
        EXPECT_TRUE(keyboard.keyReleased(Qt::Key_6, true));
        EXPECT_TRUE(keyboard.keyPressed(Qt::Key_6, Qt::NoModifier, true));
    }
    EXPECT_TRUE(keyboard.keyReleased(Qt::Key_6, false));
    EXPECT_EQ(rig.stage->loop().answerText(), QStringLiteral("6"));
    // The sparkle trail stays with the mouse, not with the key.
    EXPECT_EQ(rig.stage->pointer(), mouse);

    // Enter goes down on the question screen and comes up on the answer screen; it must
    // not press "下一题" there, and the next Enter does.
    ASSERT_TRUE(keyboard.keyPressed(Qt::Key_Return, Qt::NoModifier, false));
    ASSERT_TRUE(isAnswerScreen(rig.stage->loop().screen()));
    EXPECT_TRUE(keyboard.keyReleased(Qt::Key_Return, false));
    ASSERT_TRUE(isAnswerScreen(rig.stage->loop().screen()));
    ASSERT_TRUE(keyboard.keyPressed(Qt::Key_Return, Qt::NoModifier, false));
    EXPECT_EQ(rig.stage->loop().screen(), Screen::Jia);
    EXPECT_TRUE(keyboard.keyReleased(Qt::Key_Return, false));
    // A key that never went down through the scene is not the scene's when it comes up.
    EXPECT_FALSE(keyboard.keyReleased(Qt::Key_5, false));
}

TEST(SceneKeyboard, TheWidgetTakesTheFocusAndPassesKeyEventsOn) {
    Rig rig;
    drive(*rig.stage, {kSelf, kJia});
    SceneWidget widget(*rig.stage);
    EXPECT_EQ(widget.focusPolicy(), Qt::StrongFocus);
    const struct {
        int key;
        QString text;
        bool accepted;
    } rows[] = {{Qt::Key_4, QStringLiteral("4"), true},
                {Qt::Key_2, QStringLiteral("42"), true},
                {Qt::Key_Backspace, QStringLiteral("4"), true},
                {Qt::Key_B, QStringLiteral("4"), false}};
    for (const auto& row : rows) {
        QKeyEvent down(QEvent::KeyPress, row.key, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &down);
        QKeyEvent up(QEvent::KeyRelease, row.key, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &up);
        EXPECT_EQ(rig.stage->loop().answerText(), row.text) << row.key;
        EXPECT_EQ(down.isAccepted(), row.accepted) << row.key;
    }
}

}  // namespace
}  // namespace sumbrook
