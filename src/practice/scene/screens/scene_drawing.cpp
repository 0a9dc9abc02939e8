#include "scene_drawing.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <cmath>

#include "practice/scene/scene_style.h"

namespace sumbrook::scene_drawing {

using namespace scene_style;

void drawSun(QPainter& p, QPointF centre, double radius) {
    p.save();
    p.setPen(QPen(kSunRays, radius * 0.16, Qt::SolidLine, Qt::RoundCap));
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

void drawFlower(QPainter& p, QPointF at, const QColor& petals, double size) {
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
    p.setPen(QPen(kTrunkEdge, 2));
    p.setBrush(kTrunk);
    p.drawRoundedRect(
        QRectF(base.x() - size * 0.12, base.y() - size * 0.9, size * 0.24, size * 0.9), size * 0.06,
        size * 0.06);
    p.setPen(QPen(kGrassEdge, 2.5));
    p.setBrush(kLeaves);
    p.drawEllipse(base + QPointF(-size * 0.32, -size * 1.05), size * 0.42, size * 0.38);
    p.drawEllipse(base + QPointF(size * 0.32, -size * 1.05), size * 0.42, size * 0.38);
    p.drawEllipse(base + QPointF(0, -size * 1.4), size * 0.5, size * 0.45);
    p.setPen(Qt::NoPen);
    p.setBrush(kLeafShine);
    p.drawEllipse(base + QPointF(-size * 0.14, -size * 1.56), size * 0.2, size * 0.14);
    p.restore();
}

void drawScenery(QPainter& p, double grassTop, QPointF sun) {
    drawMeadow(p, grassTop);
    drawSun(p, sun, 36);
    const QColor petals[] = {kPetalPink, Qt::white, kPetalViolet, kSun};
    const double xs[] = {60, 250, 330, 470, 560, 700, 770};
    for (int i = 0; i < 7; ++i) {
        drawFlower(p, QPointF(xs[i], grassTop + 44 + (i % 3) * 10), petals[i % 4]);
    }
}

void drawTitle(QPainter& p, QPointF centre, double size, const std::function<double(int)>& drop) {
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
        p.setPen(QPen(kTitleShadow, size * 0.16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path.translated(0, size * 0.06));
        p.setPen(QPen(Qt::white, size * 0.14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(kBadges[static_cast<std::size_t>(i) % kBadges.size()]);
        p.drawPath(path);
        x += metrics.horizontalAdvance(letter);
    }
    p.restore();
}

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
    p.setPen(QPen(kRibbonStitch, 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(6, 6, -6, -6), 6, 6);
    p.restore();
    drawFittedText(p, rect.adjusted(16, 0, -16, 0), text, labelFont(textSize), Qt::white);
}

}  // namespace sumbrook::scene_drawing
