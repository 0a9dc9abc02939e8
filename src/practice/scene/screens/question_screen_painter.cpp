#include "question_screen_painter.h"

#include "clock_question_screen.h"
#include "expression_question_screen.h"
#include "money_question_screen.h"
#include "practice/scene/mascot.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/scene_timing.h"
#include "practice/scene/stage_layout.h"
#include "practice/scene/still_art.h"
#include "question_frame.h"
#include "sum_question_screen.h"

namespace sumbrook {

namespace layout = stage_layout;
namespace style = scene_style;
using namespace question_frame;
using answer_line::BoxLook;

void QuestionScreenPainter::paintBackdrop(QPainter& painter, const PracticeStage& stage) const {
    still_art::draw(painter, skyStillName(stillName(), stage),
                    [&](QPainter& p) { paintStill(p, stage); });
}

void QuestionScreenPainter::paintStill(QPainter& painter, const PracticeStage& stage) const {
    drawSky(painter, stage);
    style::drawCard(painter, layout::kQuestionArea);
    // The keypad's tray.
    painter.save();
    const QRectF first = layout::keypadKey(0);
    const QRectF last = layout::keypadKey(11);
    const QRectF tray = first.united(last).adjusted(-12, -12, 12, 10);
    painter.setPen(QPen(style::kTrayEdge, 2));
    painter.setBrush(style::kTray);
    painter.drawRoundedRect(tray, 22, 22);
    painter.restore();
    // The bear keeps the child company beside the keypad.
    Mascot::paint(painter, layout::kQuestionBear.at, layout::kQuestionBear.size,
                  Mascot::Mood::Happy, 0);
}

void QuestionScreenPainter::paintMoving(QPainter& painter, const PracticeStage& stage,
                                        const QRectF& region) const {
    drawHeader(painter, stage, region);
    if (region.intersects(layout::kQuestionArea)) {
        drawQuestionContent(painter, stage, false);
    }
}

std::vector<QRectF> QuestionScreenPainter::changingRects(const PracticeStage& stage) const {
    const PracticeLoop& loop = stage.loop();
    if (loop.confirmBox() != ConfirmBox::None || loop.settingsPanel() != SettingsPanel::Hidden) {
        return {};
    }
    std::vector<QRectF> rects{question_frame::runningTimeRect(loop)};
    // The caret of an empty answer box, on the steps it blinks.
    const bool empty = loop.activeField() == PracticeLoop::kHourField ? loop.answerText().isEmpty()
                                                                      : loop.minuteText().isEmpty();
    if (empty && stage.stepCount() % timing::kCaretSteps == 0) {
        if (const std::optional<QRectF> box = caretRect(stage)) {
            rects.push_back(*box);
        }
    }
    return rects;
}

std::optional<QRectF> QuestionScreenPainter::caretRect(const PracticeStage& stage) {
    const PracticeLoop& loop = stage.loop();
    if (!loop.question()) {
        return std::nullopt;
    }
    const Question& question = *loop.question();
    const QString& entry = loop.answerText();
    if (const auto* sum = std::get_if<TwoNumberQuestion>(&question)) {
        return SumQuestionScreen::caretRect(*sum, entry, BoxLook::Entry, true);
    }
    if (const auto* expression = std::get_if<ExpressionQuestion>(&question)) {
        return ExpressionQuestionScreen::caretRect(*expression, entry, BoxLook::Entry, true);
    }
    if (const auto* money = std::get_if<MoneyQuestion>(&question)) {
        return MoneyQuestionScreen::caretRect(*money, entry, BoxLook::Entry, true);
    }
    return ClockQuestionScreen::caretRect(entry, loop.minuteText(), loop.activeField(), false,
                                          true);
}

void QuestionScreenPainter::drawQuestionContent(QPainter& painter, const PracticeStage& stage,
                                                bool solved) {
    const PracticeLoop& loop = stage.loop();
    if (!loop.question()) {
        return;
    }
    const Question& question = *loop.question();
    const bool blink = caretOn(stage);
    const BoxLook look = solved ? BoxLook::Solved : BoxLook::Entry;
    const QString entry = solved ? QString::number(expectedAnswer(question)) : loop.answerText();
    const bool caret = !solved;
    if (const auto* sum = std::get_if<TwoNumberQuestion>(&question)) {
        SumQuestionScreen::drawQuestion(painter, *sum, entry, look, caret, blink);
    } else if (const auto* expression = std::get_if<ExpressionQuestion>(&question)) {
        ExpressionQuestionScreen::drawQuestion(painter, *expression, entry, look, caret, blink);
    } else if (const auto* money = std::get_if<MoneyQuestion>(&question)) {
        MoneyQuestionScreen::drawQuestion(painter, *money, entry, look, caret, blink);
    } else if (const auto* clock = std::get_if<ClockQuestion>(&question)) {
        const QString hour = solved ? QString::number(clock->deshu) : loop.answerText();
        const QString minute = solved ? QString::number(clock->deshu0) : loop.minuteText();
        ClockQuestionScreen::drawQuestion(painter, *clock, hour, minute, loop.activeField(), solved,
                                          caret, blink);
    }
}

}  // namespace sumbrook
