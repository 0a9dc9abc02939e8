#include "expression_question_screen.h"

#include "practice/scene/stage_layout.h"
#include "question_frame.h"

namespace sumbrook {

namespace layout = stage_layout;
using namespace answer_line;

Line ExpressionQuestionScreen::line(const ExpressionQuestion& q, const QString& entry, BoxLook look,
                                    bool caret, double size) {
    Line line;
    line.size = size;
    line.pieces = {textPiece(question_frame::displayed(q.xian1)), textPiece(QStringLiteral("=")),
                   boxPiece(entry, look, caret)};
    layOut(line, layout::kQuestionArea.width() - 64, size * 0.6);
    return line;
}

void ExpressionQuestionScreen::drawQuestion(QPainter& painter, const ExpressionQuestion& q,
                                            const QString& entry, BoxLook look, bool caret,
                                            bool blink) {
    drawLine(painter, line(q, entry, look, caret), layout::kQuestionLine, Qt::AlignRight, blink);
}

std::optional<QRectF> ExpressionQuestionScreen::caretRect(const ExpressionQuestion& q,
                                                          const QString& entry, BoxLook look,
                                                          bool caret) {
    return caretBox(line(q, entry, look, caret), layout::kQuestionLine, Qt::AlignRight);
}

}  // namespace sumbrook
