#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

#include "mascot.h"
#include "practice/core/exercise_catalogue.h"
#include "practice/core/game_map.h"
#include "practice/core/zhuanhuan.h"
#include "practice_stage.h"
#include "scene_motion.h"
#include "screen_painters.h"
#include "stage_layout.h"

namespace sumbrook::screen_painters {

namespace {

using namespace scene_style;
using namespace motion;

// Deep, friendly colours that keep white text (and white halos) above 4.5 : 1.
const std::array<QColor, 6> kBadgeColours{QColor(0xBF, 0x36, 0x0C), QColor(0x15, 0x65, 0xC0),
                                          QColor(0x2E, 0x7D, 0x32), QColor(0xAD, 0x14, 0x57),
                                          QColor(0x6A, 0x1B, 0x9A), QColor(0x00, 0x83, 0x8F)};

const QColor kPathEdge{0xD9, 0xA5, 0x5B};
const QColor kPathFill{0xFB, 0xE6, 0xB8};
const QColor kRibbon{0xBF, 0x36, 0x0C};
const QColor kRibbonFold{0x8C, 0x27, 0x09};

// --- scenery

void drawSun(QPainter& p, QPointF centre, double radius) {
    p.save();
    p.setPen(QPen(QColor(0xFF, 0xD5, 0x4A, 170), radius * 0.16, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(centre + dir * radius * 1.3, centre + dir * radius * 1.65);
    }
    p.setPen(QPen(kSunEdge, 3));
    p.setBrush(kSun);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void drawFlower(QPainter& p, QPointF at, const QColor& petals, double size = 7) {
    p.save();
    p.setPen(QPen(kGrassEdge, 2));
    p.drawLine(at, at + QPointF(0, size * 2));
    p.setPen(Qt::NoPen);
    p.setBrush(petals);
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 2 * M_PI / 5;
        p.drawEllipse(at + QPointF(std::cos(a), std::sin(a)) * size * 0.75, size * 0.55,
                      size * 0.55);
    }
    p.setBrush(kSun);
    p.drawEllipse(at, size * 0.45, size * 0.45);
    p.restore();
}

void drawTree(QPainter& p, QPointF base, double size) {
    p.save();
    p.setPen(QPen(QColor(0x8D, 0x5B, 0x34), 2));
    p.setBrush(QColor(0xB0, 0x7A, 0x4A));
    p.drawRoundedRect(
        QRectF(base.x() - size * 0.12, base.y() - size * 0.9, size * 0.24, size * 0.9), size * 0.06,
        size * 0.06);
    p.setPen(QPen(kGrassEdge, 2.5));
    p.setBrush(QColor(0x66, 0xBB, 0x6A));
    p.drawEllipse(base + QPointF(-size * 0.32, -size * 1.05), size * 0.42, size * 0.38);
    p.drawEllipse(base + QPointF(size * 0.32, -size * 1.05), size * 0.42, size * 0.38);
    p.drawEllipse(base + QPointF(0, -size * 1.4), size * 0.5, size * 0.45);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 45));
    p.drawEllipse(base + QPointF(-size * 0.14, -size * 1.56), size * 0.2, size * 0.14);
    p.restore();
}

// The meadow with a sun and a few flowers: the common ground of the open screens.
void drawScenery(QPainter& p, double grassTop, QPointF sun = QPointF(712, 84)) {
    drawMeadow(p, grassTop);
    drawSun(p, sun, 36);
    const QColor petals[] = {QColor(0xFF, 0x8A, 0x80), Qt::white, QColor(0xBA, 0x68, 0xC8), kSun};
    const double xs[] = {60, 250, 330, 470, 560, 700, 770};
    for (int i = 0; i < 7; ++i) {
        drawFlower(p, QPointF(xs[i], grassTop + 44 + (i % 3) * 10), petals[i % 4]);
    }
}

// The product name in bright letters, each with a white halo and a soft shadow.
// `drop(i)` lifts letter i by that many units (for the intro's arrival).
template <typename Drop>
void drawTitle(QPainter& p, QPointF centre, double size, Drop drop) {
    const QString title = QStringLiteral("Sumbrook");
    const QFont font = digitFont(size);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(title);
    double x = centre.x() - width / 2;
    const double baseline = centre.y() + metrics.capHeight() / 2;
    p.save();
    for (int i = 0; i < title.size(); ++i) {
        const QString letter = title.mid(i, 1);
        QPainterPath path;
        path.addText(QPointF(x, baseline - drop(i)), font, letter);
        // A gentle lean, alternating, makes the word playful.
        const QPointF pivot(x + metrics.horizontalAdvance(letter) / 2, baseline - size * 0.35);
        QTransform lean;
        lean.translate(pivot.x(), pivot.y());
        lean.rotate(i % 2 == 0 ? -4 : 4);
        lean.translate(-pivot.x(), -pivot.y());
        path = lean.map(path);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x0D, 0x47, 0x7A, 50), size * 0.16, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.drawPath(path.translated(0, size * 0.06));
        p.setPen(QPen(Qt::white, size * 0.14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(kBadgeColours[static_cast<std::size_t>(i) % kBadgeColours.size()]);
        p.drawPath(path);
        x += metrics.horizontalAdvance(letter);
    }
    p.restore();
}

// A ribbon banner with folded ends and white text.
void drawRibbon(QPainter& p, const QRectF& rect, const QString& text, double textSize) {
    p.save();
    p.setPen(Qt::NoPen);
    const double h = rect.height();
    for (const double side : {-1.0, 1.0}) {
        const double edge = side < 0 ? rect.left() : rect.right();
        QPolygonF tail;
        tail << QPointF(edge - side * 12, rect.top() + h * 0.3)
             << QPointF(edge + side * 40, rect.top() + h * 0.3)
             << QPointF(edge + side * 26, rect.top() + h * 0.3 + h * 0.45)
             << QPointF(edge + side * 40, rect.bottom() + h * 0.3)
             << QPointF(edge - side * 12, rect.bottom() + h * 0.3);
        p.setBrush(kRibbonFold);
        p.drawPolygon(tail);
    }
    p.setBrush(shadow(30));
    p.drawRoundedRect(rect.translated(0, 4), 10, 10);
    p.setBrush(kRibbon);
    p.drawRoundedRect(rect, 10, 10);
    p.setPen(QPen(QColor(255, 255, 255, 110), 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(6, 6, -6, -6), 6, 6);
    p.restore();
    drawFittedText(p, rect.adjusted(16, 0, -16, 0), text, labelFont(textSize), Qt::white);
}

// --- the game map's path

// Stop k stands for level k; the path snakes up the hills from the bottom left.
const std::array<QPointF, GameMap::kStops> kStopsAt{{
    {80, 468},  {190, 452}, {300, 468}, {410, 452}, {520, 468}, {630, 452},  // along the foot
    {722, 392},                                                              // round the bend
    {640, 336}, {530, 350}, {420, 336}, {310, 350}, {200, 336},              // back across
    {94, 276},                                                               // up the left
    {180, 214}, {290, 228}, {400, 214}, {510, 228}, {620, 214},              // across again
    {718, 152},                                                              // round the top bend
    {624, 98},  {512, 108}, {404, 96},                                       // to the summit
}};

QPointF stopAt(int k) {
    return kStopsAt[static_cast<std::size_t>(std::clamp(k, 0, 21))];
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

QPainterPath hill(double top, double amplitude, double phase) {
    QPainterPath path;
    path.moveTo(0, top);
    for (int x = 0; x <= 800; x += 200) {
        const double a = amplitude * ((x / 200 + static_cast<int>(phase)) % 2 == 0 ? -1 : 1);
        path.quadTo(x + 100, top + a, x + 200, top);
    }
    path.lineTo(800, 600);
    path.lineTo(0, 600);
    path.closeSubpath();
    return path;
}

void drawStop(QPainter& p, int k, bool finished) {
    const QPointF at = stopAt(k);
    const bool goal = k == GameMap::kStops - 1;
    const double r = goal ? 21 : 17;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 40, 20, 40));
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
    p.setPen(QPen(QColor(0x8D, 0x5B, 0x34), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at, at + QPointF(0, -62));
    QPolygonF flag;
    flag << at + QPointF(0, -62) << at + QPointF(36, -52) << at + QPointF(0, -40);
    p.setPen(QPen(kRibbonFold, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kPrimary);
    p.drawPolygon(flag);
    p.restore();
    drawStar(p, at + QPointF(14, -51), 6, kSun, kSunEdge);
}

// --- completion

// Confetti falls for about five seconds and then is gone; pieces drift, never blink.
constexpr int kConfettiSteps = 60;

void drawConfetti(QPainter& p, int step) {
    if (step >= kConfettiSteps) {
        return;
    }
    const double fade = 1 - clamp01((step - 44) / 16.0);
    const QColor colours[] = {kPrimary, kSecondary, kSun, kConfirm, QColor(0xBA, 0x68, 0xC8)};
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
    const double t = (step - 4) / 8.0;
    if (t <= 0) {
        return;
    }
    const double scale = easeOutBack(t);
    p.save();
    p.translate(centre);
    p.rotate(-12 + 12 * (1 - easeOutCubic(t)));
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

// --- intro

void paintIntroBackdrop(QPainter& painter, const PracticeStage&) {
    drawScenery(painter, 500);
    drawTree(painter, QPointF(96, 520), 96);
    drawTree(painter, QPointF(690, 512), 80);
}

void paintIntro(QPainter& painter, const PracticeStage& stage) {
    const int step = stage.stepsOnScreen();
    // Letters drop in one after another and bounce on landing.
    drawTitle(painter, QPointF(400, 176), 104, [step](int i) {
        const double t = (step - 1 - i * 1.2) / 11.0;
        return t <= 0 ? 400.0 : (1 - easeOutBounce(t)) * 300;
    });
    // Stars come out round the title once it has landed, and twinkle gently.
    const QPointF stars[] = {{150, 98}, {652, 104}, {118, 236}, {690, 226}, {590, 60}};
    for (int i = 0; i < 5; ++i) {
        const double t = (step - 16 - i * 2) / 6.0;
        if (t > 0) {
            const double size = easeOutBack(t) * (12 + 2 * std::sin(step * 2 * M_PI / 24 + i));
            drawStar(painter, stars[i], size, kSun, kSunEdge);
        }
    }
    // The version fades in beneath the title.
    const double fade = easeOutCubic((step - 14) / 8.0);
    if (fade > 0) {
        painter.save();
        painter.setOpacity(fade);
        const QRectF pill(352, 250 + 10 * (1 - fade), 96, 40);
        painter.setPen(QPen(kKeyEdge, 2));
        painter.setBrush(QColor(255, 255, 255, 230));
        painter.drawRoundedRect(pill, 20, 20);
        drawFittedText(painter, pill, QStringLiteral("V2.0"), digitFont(22), kText);
        painter.restore();
    }
    // The bear hops up from the grass and waves hello.
    const double rise = easeOutBack((step - 6) / 9.0);
    if (rise > 0) {
        painter.save();
        painter.translate(400, 528);
        painter.scale(rise, rise);
        Mascot::paint(painter, QPointF(0, 0), 200, Mascot::Mood::Happy, step);
        painter.restore();
    }
}

// --- main menu

void paintMainMenuBackdrop(QPainter& painter, const PracticeStage&) {
    drawScenery(painter, 520);
    drawTree(painter, QPointF(680, 548), 110);
    drawTitle(painter, QPointF(400, 128), 100, [](int) { return 0.0; });
    const QRectF subtitle(272, 204, 256, 48);
    drawCard(painter, subtitle, 24);
    drawFittedText(painter, subtitle, QStringLiteral("一年级数学练习"), labelFont(28), kText);
    Mascot::paint(painter, QPointF(150, 548), 220, Mascot::Mood::Happy, 0);
}

void paintMainMenu(QPainter&, const PracticeStage&) {}

// --- menu pages

void paintMenuPageBackdrop(QPainter& painter, const PracticeStage& stage) {
    const bool first = stage.loop().screen() == Screen::Mulu1;
    drawMeadow(painter, 528);
    const QRectF heading(216, 20, 368, 56);
    drawCard(painter, heading, 28);
    drawFittedText(painter, heading.adjusted(40, 0, -40, 0),
                   first ? QStringLiteral("自选模式 · 第1页") : QStringLiteral("自选模式 · 第2页"),
                   labelFont(28), kText);
    drawStar(painter, heading.topLeft() + QPointF(30, 28), 12, kSun, kSunEdge);
    drawStar(painter, heading.topRight() + QPointF(-30, 28), 12, kSun, kSunEdge);
    if (!first) {
        // Page 2 has room beside its two columns for the bear.
        Mascot::paint(painter, QPointF(726, 516), 120, Mascot::Mood::Happy, 0);
        drawTree(painter, QPointF(548, 524), 72);
    }
}

void paintMenuPage(QPainter& painter, const PracticeStage& stage) {
    for (const StageControl& c : stage.controls()) {
        if (!c.drawnByScreen) {
            continue;
        }
        const int number = c.name.toInt();
        const bool pressed = stage.isPressed(c);
        const QRectF card = pressed ? c.rect.translated(0, 3) : c.rect;
        painter.save();
        painter.setPen(Qt::NoPen);
        if (!pressed) {
            painter.setBrush(shadow(34));
            painter.drawRoundedRect(c.rect.translated(0, 4), 14, 14);
        }
        painter.setPen(QPen(pressed ? kSunEdge : kKeyEdge, 2));
        painter.setBrush(pressed ? QColor(0xFF, 0xE0, 0x8A) : kCard);
        painter.drawRoundedRect(card, 14, 14);
        // The number in a coloured disc, one colour per column so the columns read apart.
        const QColor disc = kBadgeColours[static_cast<std::size_t>(
            ExerciseCatalogue::exercise(number).column + (number > 24 ? 3 : 0))];
        const QPointF centre(card.left() + 24, card.center().y());
        painter.setPen(Qt::NoPen);
        painter.setBrush(disc);
        painter.drawEllipse(centre, 17, 17);
        painter.restore();
        drawFittedText(painter, QRectF(centre.x() - 17, centre.y() - 17, 34, 34),
                       QString::number(number), digitFont(16), Qt::white);
        drawFittedText(painter,
                       QRectF(card.left() + 48, card.top(), card.width() - 56, card.height()),
                       c.caption, labelFont(24), kText, Qt::AlignVCenter | Qt::AlignLeft);
        // A gold sticker once the exercise has a best time.
        if (stage.records().bestTime(number) < ProgressRecords::kNoBestTime) {
            drawStar(painter, card.topRight() + QPointF(-6, 4), 9, kSun, kSunEdge);
        }
    }
}

// --- game map

void paintMapBackdrop(QPainter& painter, const PracticeStage&) {
    QPainter& p = painter;
    QLinearGradient sky(0, 0, 0, 160);
    sky.setColorAt(0, kSkyTop);
    sky.setColorAt(1, kSkyBottom);
    p.fillRect(QRectF(0, 0, 800, 600), sky);
    drawSun(p, QPointF(560, 34), 24);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    for (const QPointF c : {QPointF(130, 34), QPointF(320, 22)}) {
        p.drawEllipse(c, 36, 16);
        p.drawEllipse(c + QPointF(-26, 6), 22, 13);
        p.drawEllipse(c + QPointF(28, 6), 24, 13);
    }
    // Hills in layers, lighter far away, greener near.
    const struct {
        double top, amplitude, phase;
        QColor fill;
    } layers[] = {{72, 26, 0, QColor(0xB9, 0xE6, 0xA8)},
                  {180, 24, 1, QColor(0xA2, 0xDB, 0x93)},
                  {292, 26, 0, QColor(0x8F, 0xD2, 0x80)},
                  {404, 24, 1, kGrass}};
    for (const auto& layer : layers) {
        p.setPen(QPen(kGrassEdge, 2.5));
        p.setBrush(layer.fill);
        p.drawPath(hill(layer.top, layer.amplitude, layer.phase));
    }
    p.restore();

    // A little wood and some flowers where the path leaves room.
    drawTree(p, QPointF(40, 396), 56);
    drawTree(p, QPointF(764, 300), 60);
    drawTree(p, QPointF(760, 522), 52);
    const QColor petals[] = {QColor(0xFF, 0x8A, 0x80), Qt::white, QColor(0xBA, 0x68, 0xC8)};
    const QPointF flowers[] = {{250, 398}, {470, 404}, {360, 286}, {580, 284},
                               {140, 166}, {460, 160}, {364, 150}, {80, 532},
                               {250, 515}, {560, 512}, {700, 460}};
    int i = 0;
    for (const QPointF f : flowers) {
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
    p.setPen(QPen(QColor(0xE8, 0xC4, 0x86), 3, Qt::DashLine, Qt::RoundCap));
    p.drawPath(path);
    p.restore();
    drawGoalFlag(p);
    for (int k = 0; k < GameMap::kStops; ++k) {
        drawStop(p, k, false);
    }
}

void paintMap(QPainter& painter, const PracticeStage& stage) {
    const int level = stage.loop().gameLevel();
    const GameMap& map = stage.loop().map();
    for (int k = 0; k < std::min(level, GameMap::kStops); ++k) {
        drawStop(painter, k, true);
    }

    // The sign names the level to play, or cheers when the path is done.
    const bool done = level >= GameMap::kLevels;
    if (done) {
        drawRibbon(painter, QRectF(64, 20, 232, 56), QStringLiteral("全部完成！"), 30);
        const QRectF praise(100, 96, 160, 44);
        drawCard(painter, praise, 22);
        drawFittedText(painter, praise, QStringLiteral("你真棒！"), labelFont(28), kText);
        drawStar(painter, praise.topLeft() + QPointF(-18, 22), 13, kSun, kSunEdge);
        drawStar(painter, praise.topRight() + QPointF(18, 22), 13, kSun, kSunEdge);
    } else {
        const QRectF sign(24, 16, 312, 92);
        drawCard(painter, sign, 20);
        painter.save();
        painter.setPen(QPen(kSun, 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(sign.adjusted(5, 5, -5, -5), 16, 16);
        painter.restore();
        drawFittedText(painter, QRectF(40, 24, 280, 36), QStringLiteral("第 %1 关").arg(level + 1),
                       labelFont(26), kRibbon);
        drawFittedText(painter, QRectF(40, 60, 280, 38),
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
    Mascot::paint(painter, QPointF(0, 0), 66,
                  done && !walking ? Mascot::Mood::Cheering : Mascot::Mood::Walking,
                  walking ? stage.stepCount() : 0);
    painter.restore();
}

// --- completion

void paintCompletionBackdrop(QPainter& painter, const PracticeStage&) {
    drawScenery(painter, 488, QPointF(76, 68));
    drawCard(painter, QRectF(336, 144, 424, 248), 28);
}

void paintCompletion(QPainter& painter, const PracticeStage& stage) {
    const int step = stage.stepsOnScreen();
    const PracticeLoop& loop = stage.loop();
    drawConfetti(painter, step);

    drawRibbon(painter, QRectF(264, 32, 272, 64), QStringLiteral("完成啦！"), 36);

    // The card: which exercise, the time taken and the best time.
    if (ExerciseCatalogue::contains(loop.xiangm())) {
        drawFittedText(painter, QRectF(368, 160, 360, 48), ExerciseCatalogue::title(loop.xiangm()),
                       labelFont(28), kText);
    }
    painter.save();
    painter.setPen(QPen(kKeyEdge, 2, Qt::DashLine));
    painter.drawLine(QPointF(368, 214), QPointF(728, 214));
    painter.restore();
    const struct {
        QString label;
        QString time;
        double y;
        QColor colour;
    } rows[] = {{QStringLiteral("用时:"), zhuanhuan(loop.completionMs()), 236, kText},
                {QStringLiteral("纪录:"), zhuanhuan(stage.records().bestTime(loop.xiangm())), 308,
                 loop.newRecord() ? QColor(0x2E, 0x7D, 0x32) : kText}};
    for (const auto& row : rows) {
        drawFittedText(painter, QRectF(368, row.y, 96, 56), row.label, labelFont(28), kText,
                       Qt::AlignVCenter | Qt::AlignLeft);
        drawFittedText(painter, QRectF(464, row.y, 264, 56), row.time, digitFont(34), row.colour,
                       Qt::AlignVCenter | Qt::AlignLeft);
    }

    // Stars round the bear pop in one by one, then twinkle slowly while the party lasts.
    const QPointF stars[] = {{44, 206}, {300, 196}, {168, 128}, {306, 440}, {40, 392}};
    for (int i = 0; i < 5; ++i) {
        const double t = (step - i * 2) / 6.0;
        if (t <= 0) {
            continue;
        }
        const double twinkle =
            step < kConfettiSteps ? 2 * std::sin(step * 2 * M_PI / 24 + i * 1.3) : 0;
        drawStar(painter, stars[i], easeOutBack(t) * (16 + (i % 2) * 6 + twinkle), kSun, kSunEdge);
    }
    Mascot::paint(painter, QPointF(180, 500), 220, Mascot::Mood::Cheering,
                  std::min(step, kConfettiSteps));

    if (loop.newRecord()) {
        drawNewRecordBadge(painter, QPointF(724, 148), step);
    }
}

}  // namespace sumbrook::screen_painters
