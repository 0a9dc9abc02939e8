#pragma once

#include "answer_line.h"
#include "practice/core/question.h"
#include "question_screen_painter.h"

namespace sumbrook {

// Telling the time (shijian): the clock face at the left, "☐ 点 ☐ 分" at the right, the
// field being typed into marked.
class ClockQuestionScreen : public QuestionScreenPainter {
  public:
    static answer_line::Line line(const QString& hour, const QString& minute, int activeField,
                                  bool solved, bool caret);
    static void drawQuestion(QPainter& painter, const ClockQuestion& q, const QString& hour,
                             const QString& minute, int activeField, bool solved, bool caret,
                             bool blink);
    // The empty answer box that shows the caret, if any.
    static std::optional<QRectF> caretRect(const QString& hour, const QString& minute,
                                           int activeField, bool solved, bool caret);

  protected:
    // The dial stands still behind the hands.
    void paintStill(QPainter& painter, const PracticeStage& stage) const override;
    QString stillName() const override { return QStringLiteral("question-clock"); }
};

}  // namespace sumbrook
