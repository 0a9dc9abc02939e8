#include "map_screen.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>
#include <array>

#include "practice/core/exercise_catalogue.h"
#include "practice/core/game_map.h"
#include "practice/scene/mascot.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/still_art.h"
#include "scene_drawing.h"

namespace sumbrook {

namespace layout = stage_layout;
using namespace scene_style;
using namespace scene_drawing;

namespace {

static_assert(layout::kMapStops.size() == GameMap::kStops);

QPointF stopAt(int k) {
    return layout::kMapStops[static_cast<std::size_t>(std::clamp(k, 0, 21))];
}

// The cubic segment from stop k to stop k + 1 of a Catmull-Rom curve through the stops.
std::array<QPointF, 4> segment(int k) {
    const QPointF p0 = stopAt(k - 1);
    const QPointF p1 = stopAt(k);
    const QPointF p2 = stopAt(k + 1);
    const QPointF p3 = stopAt(k + 2);
    return {p1, p1 + (p2 - p0) / 6, p2 - (p3 - p1) / 6, p2};
}

QPointF bezier(const std::array<QPointF, 4>& c, double t) {
    const double u = 1 - t;
    return c[0] * u * u * u + c[1] * 3 * u * u * t + c[2] * 3 * u * t * t + c[3] * t * t * t;
}

// Where a fractional stop number lies on the path.
QPointF pathPoint(double position) {
    position = std::clamp(position, 0.0, double(GameMap::kStops - 1));
    const int k = std::min(static_cast<int>(position), GameMap::kStops - 2);
    return bezier(segment(k), position - k);
}

QPainterPath mapPath() {
    QPainterPath path(stopAt(0));
    for (int k = 0; k + 1 < GameMap::kStops; ++k) {
        const auto c = segment(k);
        path.cubicTo(c[1], c[2], c[3]);
    }
    return path;
}

// The crest of a hill layer: gentle waves across the stage.
QPainterPath hillCrest(double top, double amplitude, double phase) {
    QPainterPath path;
    path.moveTo(0, top);
    for (int x = 0; x <= 800; x += 200) {
        const double a = amplitude * ((x / 200 + static_cast<int>(phase)) % 2 == 0 ? -1 : 1);
        path.quadTo(x + 100, top + a, x + 200, top);
    }
    return path;
}

// A hill layer's ground from its crest down to `bottom`.
QPainterPath hillGround(QPainterPath crest, double bottom) {
    crest.lineTo(1000, bottom);
    crest.lineTo(0, bottom);
    crest.closeSubpath();
    return crest;
}

// The path's centre line as dashes of `dash` units with `gap` between them, each drawn as
// a straight chord: the curve bends little over one dash, and a dash pattern stroked
// along a curve costs many times more than the short lines.
QList<QLineF> dashesAlong(const QPainterPath& path, double dash, double gap) {
    QList<QLineF> dashes;
    for (const QPolygonF& line : path.toSubpathPolygons()) {
        bool inDash = true;
        double left = dash;  // of the current dash or gap
        QPointF dashStart = line.isEmpty() ? QPointF() : line.first();
        for (qsizetype i = 1; i < line.size(); ++i) {
            QPointF from = line[i - 1];
            const QPointF to = line[i];
            double length = QLineF(from, to).length();
            while (length >= left) {
                const QPointF at = from + (to - from) * (left / length);
                if (inDash) {
                    dashes.append(QLineF(dashStart, at));
                } else {
                    dashStart = at;
                }
                length -= left;
                from = at;
                inDash = !inDash;
                left = inDash ? dash : gap;
            }
            left -= length;
        }
        if (inDash && !line.isEmpty()) {
            dashes.append(QLineF(dashStart, line.last()));
        }
    }
    return dashes;
}

void drawStop(QPainter& p, int k, bool finished) {
    const QPointF at = stopAt(k);
    const bool goal = k == GameMap::kStops - 1;
    const double r = goal ? 21 : 17;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kStopShadow);
    p.drawEllipse(at + QPointF(0, 4), r, r * 0.9);
    p.setPen(QPen(finished || goal ? kSunEdge : kSecondaryPressed, 3));
    p.setBrush(finished || goal ? kSun : kCard);
    p.drawEllipse(at, r, r);
    p.restore();
    drawFittedText(p, QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r), QString::number(k + 1),
                   digitFont(goal ? 17 : 15), kText);
    if (finished) {
        // The star stamp sits on the stop's shoulder, so its number stays readable.
        drawStar(p, at + QPointF(13, -14), 11, kSun, kSunEdge);
    }
}

void drawGoalFlag(QPainter& p) {
    const QPointF at = stopAt(GameMap::kStops - 1) + QPointF(42, -8);
    p.save();
    p.setPen(QPen(kTrunkEdge, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at, at + QPointF(0, -62));
    QPolygonF flag;
    flag << at + QPointF(0, -62) << at + QPointF(36, -52) << at + QPointF(0, -40);
    p.setPen(QPen(kRibbonFold, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kPrimary);
    p.drawPolygon(flag);
    p.restore();
    drawStar(p, at + QPointF(14, -51), 6, kSun, kSunEdge);
}

}  // namespace

void MapScreen::paintBackdrop(QPainter& painter, const PracticeStage&) const {
    still_art::draw(painter, u"map", [](QPainter& p) { paintStill(p); });
}

void MapScreen::paintStill(QPainter& p) {
    QLinearGradient sky(0, 0, 0, 160);
    sky.setColorAt(0, kSkyTop);
    sky.setColorAt(1, kSkyBottom);
    p.fillRect(layout::kStage, sky);
    drawSun(p, layout::kMapSun.at, layout::kMapSun.size);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kMapCloud);
    for (const QPointF c : layout::kMapClouds) {
        p.drawEllipse(c, 36, 16);
        p.drawEllipse(c + QPointF(-26, 6), 22, 13);
        p.drawEllipse(c + QPointF(28, 6), 24, 13);
    }
    // Hills in layers, lighter far away, greener near. Each layer's ground reaches just
    // below the lowest point of the next layer's crest, which covers the rest of it.
    const struct {
        double top, amplitude, phase;
        QColor fill;
    } layers[] = {{72, 26, 0, kHillFar},
                  {180, 24, 1, kHillMiddle},
                  {292, 26, 0, kHillNear},
                  {404, 24, 1, kGrass}};
    const QPen crestPen(kGrassEdge, 2.5);
    for (std::size_t i = 0; i < std::size(layers); ++i) {
        const auto& layer = layers[i];
        const double bottom = i + 1 < std::size(layers)
                                  ? layers[i + 1].top + layers[i + 1].amplitude + 4
                                  : layout::kStage.bottom();
        const QPainterPath crest = hillCrest(layer.top, layer.amplitude, layer.phase);
        p.setPen(Qt::NoPen);
        p.setBrush(layer.fill);
        p.drawPath(hillGround(crest, bottom));
        p.setPen(crestPen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(crest);
    }
    p.restore();

    // A little wood and some flowers where the path leaves room.
    for (const layout::Figure& tree : layout::kMapTrees) {
        drawTree(p, tree.at, tree.size);
    }
    const QColor petals[] = {kPetalPink, Qt::white, kPetalViolet};
    int i = 0;
    for (const QPointF f : layout::kMapFlowers) {
        drawFlower(p, f, petals[i++ % 3], 6);
    }

    // The path: a sandy band with a darker edge.
    const QPainterPath path = mapPath();
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kPathEdge, 34, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(kPathFill, 27, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    // Qt's dash line of width 3: dashes of 12, gaps of 6.
    static const QList<QLineF> dashes = dashesAlong(path, 12, 6);
    p.setPen(QPen(kPathDash, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLines(dashes);
    p.restore();
    drawGoalFlag(p);
    for (int k = 0; k < GameMap::kStops; ++k) {
        drawStop(p, k, false);
    }
}

void MapScreen::paintMoving(QPainter& painter, const PracticeStage& stage, const QRectF&) const {
    const int level = stage.loop().gameLevel();
    const GameMap& map = stage.loop().map();
    for (int k = 0; k < std::min(level, GameMap::kStops); ++k) {
        drawStop(painter, k, true);
    }

    // The sign names the level to play, or cheers when the path is done.
    const bool done = level >= GameMap::kLevels;
    if (done) {
        drawRibbon(painter, layout::kMapDoneRibbon, QStringLiteral("全部完成！"), 30);
        const QRectF praise = layout::kMapPraise;
        drawCard(painter, praise, 22);
        drawFittedText(painter, praise, QStringLiteral("你真棒！"), labelFont(28), kText);
        drawStar(painter, praise.topLeft() + QPointF(-18, 22), 13, kSun, kSunEdge);
        drawStar(painter, praise.topRight() + QPointF(18, 22), 13, kSun, kSunEdge);
    } else {
        const QRectF sign = layout::kMapSign;
        drawCard(painter, sign, 20);
        painter.save();
        painter.setPen(QPen(kSun, 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(sign.adjusted(5, 5, -5, -5), 16, 16);
        painter.restore();
        drawFittedText(painter, layout::kMapSignLevel, QStringLiteral("第 %1 关").arg(level + 1),
                       labelFont(26), kRibbon);
        drawFittedText(painter, layout::kMapSignTitle,
                       ExerciseCatalogue::title(GameMap::exerciseForLevel(level)), labelFont(28),
                       kText);
    }

    // The marker: the bear walks the path between stops, facing where it goes.
    const double position = map.markerPosition();
    const QPointF at = pathPoint(position);
    const double ahead = std::min(position + 0.05, double(GameMap::kStops - 1));
    const double behind = std::max(position - 0.05, 0.0);
    const bool left = pathPoint(ahead).x() < pathPoint(behind).x() - 0.5;
    const bool walking = map.moving();
    painter.save();
    painter.translate(at + QPointF(0, 6));
    if (left) {
        painter.scale(-1, 1);
    }
    // Standing still it keeps one pose: an idle map repaints only where sparkles pass.
    Mascot::paint(painter, QPointF(0, 0), layout::kMapBearHeight,
                  done && !walking ? Mascot::Mood::Cheering : Mascot::Mood::Walking,
                  walking ? stage.stepCount() : 0);
    painter.restore();
}

// --- completion

std::vector<QRectF> MapScreen::changingRects(const PracticeStage& stage) const {
    if (stage.loop().map().moving()) {
        return {layout::kStage};  // the bear walks the path
    }
    return {};
}

}  // namespace sumbrook
