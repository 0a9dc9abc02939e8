#include "clock_question_screen.h"

#include "practice/core/practice_loop.h"
#include "practice/scene/stage_layout.h"
#include "question_frame.h"

namespace sumbrook {

namespace layout = stage_layout;
using namespace answer_line;
using question_frame::text;

void ClockQuestionScreen::paintStill(QPainter& painter, const PracticeStage& stage) const {
    QuestionScreenPainter::paintStill(painter, stage);
    question_frame::drawDial(painter, layout::kDialCentre, layout::kDialRadius);
}

Line ClockQuestionScreen::line(const QString& hour, const QString& minute, int activeField,
                               bool solved, bool caret) {
    Line line;
    line.size = 54;
    line.gap = 20;
    const bool onHour = activeField == PracticeLoop::kHourField;
    auto field = [&](const QString& entry, bool active) {
        Piece p =
            boxPiece(entry, solved ? BoxLook::Solved : (active ? BoxLook::Entry : BoxLook::Idle),
                     caret && active, 2);
        p.marked = active && !solved;
        return p;
    };
    line.pieces = {field(hour, onHour), textPiece(text("点"), false), field(minute, !onHour),
                   textPiece(text("分"), false)};
    // Room for the field marker on both sides.
    layOut(line, layout::kClockAnswerArea.width() - 20, 34);
    return line;
}

void ClockQuestionScreen::drawQuestion(QPainter& painter, const ClockQuestion& q,
                                       const QString& hour, const QString& minute, int activeField,
                                       bool solved, bool caret, bool blink) {
    question_frame::drawHands(painter, layout::kDialCentre, layout::kDialRadius, q);
    drawLine(painter, line(hour, minute, activeField, solved, caret), layout::kClockAnswerArea,
             Qt::AlignHCenter, blink);
}

std::optional<QRectF> ClockQuestionScreen::caretRect(const QString& hour, const QString& minute,
                                                     int activeField, bool solved, bool caret) {
    return caretBox(line(hour, minute, activeField, solved, caret), layout::kClockAnswerArea,
                    Qt::AlignHCenter);
}

}  // namespace sumbrook
