#include "screen_painters.h"

#include "practice_stage.h"

namespace sumbrook::screen_painters {

void paintIntroBackdrop(QPainter&, const PracticeStage&) {}
void paintIntro(QPainter&, const PracticeStage&) {}
void paintMainMenuBackdrop(QPainter&, const PracticeStage&) {}
void paintMainMenu(QPainter&, const PracticeStage&) {}
void paintMenuPageBackdrop(QPainter&, const PracticeStage&) {}
void paintMenuPage(QPainter&, const PracticeStage&) {}
void paintMapBackdrop(QPainter&, const PracticeStage&) {}
void paintMap(QPainter&, const PracticeStage&) {}
void paintCompletionBackdrop(QPainter&, const PracticeStage&) {}
void paintCompletion(QPainter&, const PracticeStage&) {}

}  // namespace sumbrook::screen_painters
