#include "screen_painters.h"

#include "practice_stage.h"

namespace sumbrook::screen_painters {

void paintQuestionBackdrop(QPainter&, const PracticeStage&) {}
void paintQuestion(QPainter&, const PracticeStage&) {}
void paintAnswerBackdrop(QPainter&, const PracticeStage&) {}
void paintAnswer(QPainter&, const PracticeStage&) {}
void paintSettingsPanel(QPainter&, const PracticeStage&) {}
void paintConfirmBox(QPainter&, const PracticeStage&) {}

}  // namespace sumbrook::screen_painters
