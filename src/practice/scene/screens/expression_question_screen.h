#pragma once

#include "answer_line.h"
#include "practice/core/question.h"
#include "question_screen_painter.h"

namespace sumbrook {

// A chain of sums (lianjia): "3 + 4 − 2 = ☐", set to the right of the card.
class ExpressionQuestionScreen : public QuestionScreenPainter {
  public:
    static answer_line::Line line(const ExpressionQuestion& q, const QString& entry,
                                  answer_line::BoxLook look, bool caret, double size = 60);
    static void drawQuestion(QPainter& painter, const ExpressionQuestion& q, const QString& entry,
                             answer_line::BoxLook look, bool caret, bool blink);
    // The empty answer box that shows the caret, if any.
    static std::optional<QRectF> caretRect(const ExpressionQuestion& q, const QString& entry,
                                           answer_line::BoxLook look, bool caret);
};

}  // namespace sumbrook
