#pragma once

#include <QPainter>
#include <QRectF>

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
// Header, question and keypad; only what meets `region` (stage units).
void paintQuestion(QPainter& painter, const PracticeStage& stage, const QRectF& region);
void paintAnswerBackdrop(QPainter& painter, const PracticeStage& stage);
// Praise or the right answer; only what meets `region` (stage units).
void paintAnswer(QPainter& painter, const PracticeStage& stage, const QRectF& region);
// The panel's card (dimmed screen, card, headings: still once it has slid in), its values
// (the volume, the ring round the playing song), or both.
enum class PanelPart { Whole, Card, Values };
void paintSettingsPanel(QPainter& painter, const PracticeStage& stage, PanelPart part);
void paintConfirmBox(QPainter& painter, const PracticeStage& stage);

}  // namespace screen_painters
}  // namespace sumbrook
