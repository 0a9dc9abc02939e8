#pragma once

#include "answer_line.h"
#include "practice/core/question.h"
#include "question_screen_painter.h"

namespace sumbrook {

// The written sum with one blank (jia): "3 + ☐ = 7" in one line across the card.
class SumQuestionScreen : public QuestionScreenPainter {
  public:
    // The question line with the child's entry (or, solved, the answer) in its box.
    static answer_line::Line line(const TwoNumberQuestion& q, const QString& entry,
                                  answer_line::BoxLook look, bool caret, double size = 64);
    static void drawQuestion(QPainter& painter, const TwoNumberQuestion& q, const QString& entry,
                             answer_line::BoxLook look, bool caret, bool blink);
    // The empty answer box that shows the caret, if any.
    static std::optional<QRectF> caretRect(const TwoNumberQuestion& q, const QString& entry,
                                           answer_line::BoxLook look, bool caret);
};

}  // namespace sumbrook
