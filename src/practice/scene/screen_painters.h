#pragma once

#include <QPainter>

namespace sumbrook {

class PracticeStage;

// The pictures of each screen, drawn in stage units (800 × 600). The stage draws the
// plain buttons of its controls afterwards; these draw everything else, including the
// controls they mark as drawn by the screen. Backdrops hold what never moves while the
// screen is up and may be cached; foregrounds are drawn at every repaint.
namespace screen_painters {

void paintIntroBackdrop(QPainter& painter, const PracticeStage& stage);
void paintIntro(QPainter& painter, const PracticeStage& stage);  // title, version, animation
void paintMainMenuBackdrop(QPainter& painter, const PracticeStage& stage);
void paintMainMenu(QPainter& painter, const PracticeStage& stage);
void paintMenuPageBackdrop(QPainter& painter, const PracticeStage& stage);
void paintMenuPage(QPainter& painter, const PracticeStage& stage);     // the entries
void paintMapBackdrop(QPainter& painter, const PracticeStage& stage);  // path and stops
void paintMap(QPainter& painter, const PracticeStage& stage);          // marker, finished stars
void paintCompletionBackdrop(QPainter& painter, const PracticeStage& stage);
void paintCompletion(QPainter& painter, const PracticeStage& stage);  // times, badge

void paintQuestionBackdrop(QPainter& painter, const PracticeStage& stage);
void paintQuestion(QPainter& painter, const PracticeStage& stage);  // header, question, keypad
void paintAnswerBackdrop(QPainter& painter, const PracticeStage& stage);
void paintAnswer(QPainter& painter, const PracticeStage& stage);  // praise or the right answer
void paintSettingsPanel(QPainter& painter, const PracticeStage& stage);
void paintConfirmBox(QPainter& painter, const PracticeStage& stage);

}  // namespace screen_painters
}  // namespace sumbrook
