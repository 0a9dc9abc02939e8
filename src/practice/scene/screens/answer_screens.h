#pragma once

#include "screen_painter.h"

namespace sumbrook {

// What the right-answer and wrong-answer screens share: the header with its running time,
// the card (with the clock face when the question was a clock) and the bear with a word
// in a speech bubble. All but the running time and the bear stands in the backdrop.
class AnswerScreen : public ScreenPainter {
  public:
    void paintBackdrop(QPainter& painter, const PracticeStage& stage) const override;
    std::vector<QRectF> changingRects(const PracticeStage& stage) const override;

  protected:
    // What stands in the card (the question solved, or the right answer), and whatever
    // else of the screen keeps still.
    virtual void paintCard(QPainter& painter, const PracticeStage& stage) const = 0;
};

// A right answer (dui): the question solved in green, a tick, twinkling stars, the bear
// cheering.
class RightAnswerScreen : public AnswerScreen {
  public:
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;

  protected:
    void paintCard(QPainter& painter, const PracticeStage& stage) const override;
};

// A wrong answer (chuo): the right answer in a soft pill, the child's answer gently
// crossed out beside it, the bear thinking.
class WrongAnswerScreen : public AnswerScreen {
  public:
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;

  protected:
    void paintCard(QPainter& painter, const PracticeStage& stage) const override;
};

}  // namespace sumbrook
