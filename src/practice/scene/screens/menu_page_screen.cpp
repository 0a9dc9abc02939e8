#include "menu_page_screen.h"

#include "practice/core/exercise_catalogue.h"
#include "practice/scene/mascot.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/still_art.h"
#include "scene_drawing.h"

namespace sumbrook {

namespace layout = stage_layout;
using namespace scene_style;
using namespace scene_drawing;

void MenuPageScreen::paintBackdrop(QPainter& painter, const PracticeStage& stage) const {
    const bool first = stage.loop().screen() == Screen::Mulu1;
    const QString page = first ? QStringLiteral("menu-page-1") : QStringLiteral("menu-page-2");
    std::vector<StageControl> entries = stage.controls();
    std::erase_if(entries, [](const StageControl& c) { return !c.drawnByScreen; });
    // The page with its entries up stands still; a held entry and the stickers change.
    still_art::draw(painter, page, [&](QPainter& p) {
        paintStill(p, first);
        for (const StageControl& c : entries) {
            paintEntry(p, c, false);
        }
    });
    for (const StageControl& c : entries) {
        const bool pressed = stage.isPressed(c);
        if (pressed) {
            // The held entry sinks into the page: the page is shown bare where it stood.
            painter.save();
            painter.setClipRect(c.rect.adjusted(-3, -3, 3, 8), Qt::IntersectClip);
            still_art::draw(painter, page + QStringLiteral("/bare"),
                            [first](QPainter& p) { paintStill(p, first); });
            painter.restore();
            paintEntry(painter, c, true);
        }
        // A gold sticker once the exercise has a best time.
        if (stage.records().bestTime(c.name.toInt()) < ProgressRecords::kNoBestTime) {
            const QRectF card = pressed ? c.rect.translated(0, 3) : c.rect;
            drawStar(painter, card.topRight() + QPointF(-6, 4), 9, kSun, kSunEdge);
        }
    }
}

void MenuPageScreen::paintStill(QPainter& painter, bool first) {
    drawMeadow(painter, layout::kMenuPageGrassTop);
    const QRectF heading = layout::kMenuPageHeading;
    drawCard(painter, heading, 28);
    drawFittedText(painter, heading.adjusted(40, 0, -40, 0),
                   first ? QStringLiteral("自选模式 · 第1页") : QStringLiteral("自选模式 · 第2页"),
                   labelFont(28), kText);
    drawStar(painter, heading.topLeft() + QPointF(30, 28), 12, kSun, kSunEdge);
    drawStar(painter, heading.topRight() + QPointF(-30, 28), 12, kSun, kSunEdge);
    if (!first) {
        // Page 2 has room beside its two columns for the bear.
        Mascot::paint(painter, layout::kMenuPageBear.at, layout::kMenuPageBear.size,
                      Mascot::Mood::Happy, 0);
        drawTree(painter, layout::kMenuPageTree.at, layout::kMenuPageTree.size);
    }
}

void MenuPageScreen::paintMoving(QPainter&, const PracticeStage&, const QRectF&) const {}

void MenuPageScreen::paintEntry(QPainter& painter, const StageControl& c, bool pressed) {
    const int number = c.name.toInt();
    const QRectF card = pressed ? c.rect.translated(0, 3) : c.rect;
    painter.save();
    painter.setPen(Qt::NoPen);
    if (!pressed) {
        painter.setBrush(shadow(34));
        painter.drawRoundedRect(c.rect.translated(0, 4), 14, 14);
    }
    painter.setPen(QPen(pressed ? kSunEdge : kKeyEdge, 2));
    painter.setBrush(pressed ? kEntryPressed : kCard);
    painter.drawRoundedRect(card, 14, 14);
    // The number in a coloured disc, one colour per column so the columns read apart.
    const QColor disc = kBadges[static_cast<std::size_t>(
        ExerciseCatalogue::exercise(number).column + (number > 24 ? 3 : 0))];
    const QPointF centre(card.left() + 24, card.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(centre, 17, 17);
    painter.restore();
    drawFittedText(painter, QRectF(centre.x() - 17, centre.y() - 17, 34, 34),
                   QString::number(number), digitFont(16), Qt::white);
    drawFittedText(painter, QRectF(card.left() + 48, card.top(), card.width() - 56, card.height()),
                   c.caption, labelFont(24), kText, Qt::AlignVCenter | Qt::AlignLeft);
}

std::vector<QRectF> MenuPageScreen::changingRects(const PracticeStage&) const {
    return {};
}

}  // namespace sumbrook
