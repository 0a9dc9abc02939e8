#include "main_menu_screen.h"

#include "practice/scene/mascot.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/still_art.h"
#include "scene_drawing.h"

namespace sumbrook {

namespace layout = stage_layout;
using namespace scene_style;
using namespace scene_drawing;

void MainMenuScreen::paintBackdrop(QPainter& stagePainter, const PracticeStage&) const {
    still_art::draw(stagePainter, u"main-menu", [](QPainter& painter) { paintStill(painter); });
}

void MainMenuScreen::paintStill(QPainter& painter) {
    drawScenery(painter, layout::kMainMenuGrassTop);
    drawTree(painter, layout::kMainMenuTree.at, layout::kMainMenuTree.size);
    drawTitle(painter, layout::kMainMenuTitle.at, layout::kMainMenuTitle.size,
              [](int) { return 0.0; });
    const QRectF subtitle = layout::kMainMenuSubtitle;
    drawCard(painter, subtitle, 24);
    drawFittedText(painter, subtitle, QStringLiteral("一年级数学练习"), labelFont(28), kText);
    Mascot::paint(painter, layout::kMainMenuBear.at, layout::kMainMenuBear.size,
                  Mascot::Mood::Happy, 0);
}

void MainMenuScreen::paintMoving(QPainter&, const PracticeStage&, const QRectF&) const {}

std::vector<QRectF> MainMenuScreen::changingRects(const PracticeStage&) const {
    return {};
}

}  // namespace sumbrook
