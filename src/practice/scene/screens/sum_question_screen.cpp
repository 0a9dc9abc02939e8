#include "sum_question_screen.h"

#include "practice/scene/stage_layout.h"
#include "question_frame.h"

namespace sumbrook {

namespace layout = stage_layout;
using namespace answer_line;

Line SumQuestionScreen::line(const TwoNumberQuestion& q, const QString& entry, BoxLook look,
                             bool caret, double size) {
    Line line;
    line.size = size;
    auto operand = [&](BlankPosition at, const QString& shown) {
        return q.blank == at ? boxPiece(entry, look, caret) : textPiece(shown);
    };
    line.pieces = {operand(BlankPosition::Left, q.xian1),
                   textPiece(question_frame::displayed(q.xian_fu)),
                   operand(BlankPosition::Right, q.xian2), textPiece(QStringLiteral("=")),
                   operand(BlankPosition::Result, q.xian4)};
    layOut(line, layout::kQuestionArea.width() - 64, size * 0.7);
    return line;
}

void SumQuestionScreen::drawQuestion(QPainter& painter, const TwoNumberQuestion& q,
                                     const QString& entry, BoxLook look, bool caret, bool blink) {
    drawLine(painter, line(q, entry, look, caret), layout::kQuestionLine, Qt::AlignHCenter, blink);
}

std::optional<QRectF> SumQuestionScreen::caretRect(const TwoNumberQuestion& q, const QString& entry,
                                                   BoxLook look, bool caret) {
    return caretBox(line(q, entry, look, caret), layout::kQuestionLine, Qt::AlignHCenter);
}

}  // namespace sumbrook
