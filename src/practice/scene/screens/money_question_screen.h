#pragma once

#include "answer_line.h"
#include "practice/core/question.h"
#include "question_screen_painter.h"

namespace sumbrook {

// Counting money (rmb): the notes and coins at the left, "☐ 元" at the right.
class MoneyQuestionScreen : public QuestionScreenPainter {
  public:
    static answer_line::Line line(const MoneyQuestion& q, const QString& entry,
                                  answer_line::BoxLook look, bool caret);
    static void drawQuestion(QPainter& painter, const MoneyQuestion& q, const QString& entry,
                             answer_line::BoxLook look, bool caret, bool blink);
    // The empty answer box that shows the caret, if any.
    static std::optional<QRectF> caretRect(const MoneyQuestion& q, const QString& entry,
                                           answer_line::BoxLook look, bool caret);
};

}  // namespace sumbrook
