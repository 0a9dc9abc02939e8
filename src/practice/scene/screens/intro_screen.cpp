#include "intro_screen.h"

#include <cmath>

#include "practice/scene/mascot.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_motion.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/scene_timing.h"
#include "practice/scene/still_art.h"
#include "scene_drawing.h"

namespace sumbrook {

namespace layout = stage_layout;
using namespace scene_style;
using namespace scene_drawing;
using namespace motion;

void IntroScreen::paintBackdrop(QPainter& painter, const PracticeStage&) const {
    still_art::draw(painter, u"intro", [](QPainter& p) {
        drawScenery(p, layout::kIntroGrassTop);
        for (const layout::Figure& tree : layout::kIntroTrees) {
            drawTree(p, tree.at, tree.size);
        }
    });
}

void IntroScreen::paintMoving(QPainter& painter, const PracticeStage& stage, const QRectF&) const {
    namespace t = timing::intro;
    const int step = stage.stepsOnScreen();
    // Letters drop in one after another and bounce on landing.
    drawTitle(painter, layout::kIntroTitle.at, layout::kIntroTitle.size, [step](int i) {
        const double at = (step - t::kTitleFrom - i * t::kTitleLetterGap) / t::kTitleDrop;
        return at <= 0 ? 400.0 : (1 - easeOutBounce(at)) * 300;
    });
    // Stars come out round the title once it has landed, and twinkle gently.
    for (int i = 0; i < static_cast<int>(layout::kIntroStars.size()); ++i) {
        const double at = (step - t::kStarsFrom - i * t::kStarGap) / t::kStarPop;
        if (at > 0) {
            const double size =
                easeOutBack(at) * (12 + 2 * std::sin(step * 2 * M_PI / t::kStarTwinkle + i));
            drawStar(painter, layout::kIntroStars[static_cast<std::size_t>(i)], size, kSun,
                     kSunEdge);
        }
    }
    // The version fades in beneath the title.
    const double fade = easeOutCubic((step - t::kVersionFrom) / t::kVersionFade);
    if (fade > 0) {
        painter.save();
        painter.setOpacity(fade);
        const QRectF pill = layout::kIntroVersion.translated(0, 10 * (1 - fade));
        painter.setPen(QPen(kKeyEdge, 2));
        painter.setBrush(kPill);
        painter.drawRoundedRect(pill, 20, 20);
        drawFittedText(painter, pill, QStringLiteral("V2.0"), digitFont(22), kText);
        painter.restore();
    }
    // The bear hops up from the grass and waves hello.
    const double rise = easeOutBack((step - t::kBearFrom) / t::kBearRise);
    if (rise > 0) {
        painter.save();
        painter.translate(layout::kIntroBear.at);
        painter.scale(rise, rise);
        Mascot::paint(painter, QPointF(0, 0), layout::kIntroBear.size, Mascot::Mood::Happy, step);
        painter.restore();
    }
}

std::vector<QRectF> IntroScreen::changingRects(const PracticeStage&) const {
    return {layout::kStage};  // the whole stage moves
}

}  // namespace sumbrook
