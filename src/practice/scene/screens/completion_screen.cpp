#include "completion_screen.h"

#include <algorithm>
#include <cmath>

#include "practice/core/exercise_catalogue.h"
#include "practice/core/zhuanhuan.h"
#include "practice/scene/mascot.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_motion.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/scene_timing.h"
#include "practice/scene/still_art.h"
#include "scene_drawing.h"

namespace sumbrook {

namespace layout = stage_layout;
namespace t = timing::completion;
using namespace scene_style;
using namespace scene_drawing;
using namespace motion;

namespace {

void drawConfetti(QPainter& p, int step) {
    if (step >= t::kConfettiSteps) {
        return;
    }
    const double fade = 1 - clamp01((step - t::kConfettiFadeFrom) / t::kConfettiFade);
    const QColor colours[] = {kPrimary, kSecondary, kSun, kConfirm, kPetalViolet};
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 46; ++i) {
        // Fixed pseudo-random placement, the same every time the screen comes up.
        const unsigned h = static_cast<unsigned>(i) * 2654435761u;
        const double x0 = 20.0 + static_cast<double>(h % 761);
        const double y0 = -260.0 + static_cast<double>((h >> 10) % 460);
        const double speed = 5.0 + static_cast<double>((h >> 20) % 5);
        const double y = y0 + speed * step;
        if (y > 620) {
            continue;
        }
        const double x = x0 + 14 * std::sin(step * 0.25 + i);
        QColor c = colours[i % 5];
        c.setAlphaF(fade);
        p.setBrush(c);
        p.save();
        p.translate(x, y);
        p.rotate(i * 37 + step * (i % 2 == 0 ? 9 : -7));
        if (i % 3 == 0) {
            p.drawEllipse(QPointF(0, 0), 4.5, 4.5);
        } else {
            p.drawRoundedRect(QRectF(-7, -3, 14, 6), 2, 2);
        }
        p.restore();
    }
    p.restore();
}

void drawNewRecordBadge(QPainter& p, QPointF centre, int step) {
    // Pops in after a short beat, overshoots a little and settles.
    const double at = (step - t::kBadgeFrom) / t::kBadgePop;
    if (at <= 0) {
        return;
    }
    const double scale = easeOutBack(at);
    p.save();
    p.translate(centre);
    p.rotate(-12 + 12 * (1 - easeOutCubic(at)));
    p.scale(scale, scale);
    QPolygonF burst;
    for (int i = 0; i < 32; ++i) {
        const double r = i % 2 == 0 ? 62 : 52;
        const double a = i * M_PI / 16;
        burst << QPointF(r * std::cos(a), r * std::sin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(shadow(40));
    p.drawPolygon(burst.translated(0, 5));
    p.setPen(QPen(kSunEdge, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kSun);
    p.drawPolygon(burst);
    p.setPen(QPen(Qt::white, 2.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 43, 43);
    drawStar(p, QPointF(0, -26), 9, Qt::white, kSunEdge);
    drawFittedText(p, QRectF(-44, -14, 88, 40), QStringLiteral("新纪录！"), labelFont(24), kText);
    p.restore();
}

}  // namespace

void CompletionScreen::paintBackdrop(QPainter& painter, const PracticeStage&) const {
    still_art::draw(painter, u"completion", [](QPainter& p) {
        drawScenery(p, layout::kCompletionGrassTop, layout::kCompletionSun);
        drawCard(p, layout::kCompletionCard, 28);
    });
}

void CompletionScreen::paintMoving(QPainter& painter, const PracticeStage& stage,
                                   const QRectF&) const {
    const int step = stage.stepsOnScreen();
    const PracticeLoop& loop = stage.loop();
    drawConfetti(painter, step);

    drawRibbon(painter, layout::kCompletionRibbon, QStringLiteral("完成啦！"), 36);

    // The card: which exercise, the time taken and the best time.
    if (loop.inReview()) {
        drawFittedText(painter, layout::kCompletionTitle, loop.levelText(), labelFont(28), kText);
    } else if (ExerciseCatalogue::contains(loop.xiangm())) {
        drawFittedText(painter, layout::kCompletionTitle, ExerciseCatalogue::title(loop.xiangm()),
                       labelFont(28), kText);
    }
    painter.save();
    painter.setPen(QPen(kKeyEdge, 2, Qt::DashLine));
    painter.drawLine(layout::kCompletionRule.p1(), layout::kCompletionRule.p2());
    painter.restore();
    struct Row {
        QString label;
        QString value;
        QColor colour;
    };
    // A review keeps no best time: its card tells how many of its questions were right.
    const Row rows[] = {
        {QStringLiteral("用时:"), zhuanhuan(loop.completionMs()), kText},
        loop.inReview()
            ? Row{QStringLiteral("答对:"),
                  QStringLiteral("%1 / %2").arg(loop.reviewRight()).arg(loop.reviewLength()),
                  kRecordText}
            : Row{QStringLiteral("纪录:"), zhuanhuan(stage.records().bestTime(loop.xiangm())),
                  loop.newRecord() ? kRecordText : kText}};
    for (int i = 0; i < 2; ++i) {
        drawFittedText(painter, layout::completionLabel(i), rows[i].label, labelFont(28), kText,
                       Qt::AlignVCenter | Qt::AlignLeft);
        drawFittedText(painter, layout::completionTime(i), rows[i].value, digitFont(34),
                       rows[i].colour, Qt::AlignVCenter | Qt::AlignLeft);
    }

    // Stars round the bear pop in one by one, then twinkle slowly while the party lasts.
    for (int i = 0; i < static_cast<int>(layout::kCompletionStars.size()); ++i) {
        const double at = (step - i * t::kStarGap) / t::kStarPop;
        if (at <= 0) {
            continue;
        }
        const double twinkle = step < t::kConfettiSteps
                                   ? 2 * std::sin(step * 2 * M_PI / t::kStarTwinkle + i * 1.3)
                                   : 0;
        drawStar(painter, layout::kCompletionStars[static_cast<std::size_t>(i)],
                 easeOutBack(at) * (16 + (i % 2) * 6 + twinkle), kSun, kSunEdge);
    }
    Mascot::paint(painter, layout::kCompletionBear.at, layout::kCompletionBear.size,
                  Mascot::Mood::Cheering, std::min(step, t::kConfettiSteps));

    if (loop.newRecord()) {
        drawNewRecordBadge(painter, layout::kCompletionBadge, step);
    }
}

std::vector<QRectF> CompletionScreen::changingRects(const PracticeStage&) const {
    return {layout::kStage};  // confetti, stars and the cheering bear
}

}  // namespace sumbrook
