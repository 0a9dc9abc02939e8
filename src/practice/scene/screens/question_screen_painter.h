#pragma once

#include <QString>
#include <optional>

#include "screen_painter.h"

namespace sumbrook {

// What every question screen shows: the header with its counters and running time, the
// score bar, the card with the question and its answer boxes, the keypad's tray and the
// bear beside it. Each kind of question draws its own card content.
class QuestionScreenPainter : public ScreenPainter {
  public:
    void paintBackdrop(QPainter& painter, const PracticeStage& stage) const override;
    void paintMoving(QPainter& painter, const PracticeStage& stage,
                     const QRectF& region) const override;
    std::vector<QRectF> changingRects(const PracticeStage& stage) const override;

    // The card's content for the question screens (entry) and the right-answer screens
    // (solved), for whichever kind of question is up.
    static void drawQuestionContent(QPainter& painter, const PracticeStage& stage, bool solved);
    // Where the caret blinks: the empty answer box being typed into, with its marker.
    static std::optional<QRectF> caretRect(const PracticeStage& stage);

  protected:
    // The art that stands still under every question of this kind, and its name.
    virtual void paintStill(QPainter& painter, const PracticeStage& stage) const;
    virtual QString stillName() const { return QStringLiteral("question"); }
};

}  // namespace sumbrook
