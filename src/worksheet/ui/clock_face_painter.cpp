#include "clock_face_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace sumbrook {

namespace {

constexpr double kMinuteMarkRadians = 18.849555921 / 180;  // 6° a minute
constexpr double kPi = 3.1415926535;
constexpr int kCentre = 64;

double minuteAngle(int mark) {
    return mark * kMinuteMarkRadians;
}

QFont surfaceFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

void setPenWidth(QPainter& painter, int width) {
    QPen pen(Qt::black);
    pen.setWidth(width);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
}

}  // namespace

QPoint ClockFacePainter::pointAt(double theta, double r) {
    return {static_cast<int>(kCentre + r * std::sin(theta)),
            static_cast<int>(kCentre - r * std::cos(theta))};
}

QPoint ClockFacePainter::numberPosition(int number, int w, int h) {
    const QPoint p = pointAt(minuteAngle(5 * number), 52);
    const double x = p.x();
    const double y = p.y();
    double left = x;
    double top = y;
    switch (number) {
        case 12:
            left = x - w / 2.0;
            top = y;
            break;
        case 1:
            left = x - w / 3.0 * 2;
            top = y - h / 6.0;
            break;
        case 2:
            left = x - w;
            top = y - h / 3.0;
            break;
        case 3:
            left = x - w;
            top = y - h / 2.0;
            break;
        case 4:
            left = x - w;
            top = y - h / 3.0 * 2;
            break;
        case 5:
            left = x - w / 3.0 * 2;
            top = y - h / 6.0 * 5;
            break;
        case 6:
            left = x - w / 2.0;
            top = y - h;
            break;
        case 7:
            left = x;
            top = y - h / 6.0 * 5;
            break;
        case 8:
            left = x;
            top = y - h / 3.0 * 2;
            break;
        case 9:
            left = x;
            top = y - h / 2.0;
            break;
        case 10:
            left = x;
            top = y - h / 3.0;
            break;
        case 11:
            left = x;
            top = y - h / 6.0;
            break;
        default:
            break;
    }
    return {static_cast<int>(left), static_cast<int>(top)};
}

namespace {

// Where the twelve hour numbers stand, measured once in the surface's font.
struct HourNumber {
    QPointF baseline;
    QString text;
};

const std::vector<HourNumber>& hourNumbers() {
    static const std::vector<HourNumber> numbers = [] {
        std::vector<HourNumber> placed;
        const QFontMetrics metrics(surfaceFont());
        for (int number = 1; number <= 12; ++number) {
            const QString text = QString::number(number);
            const int w = metrics.horizontalAdvance(text);
            const int h = metrics.height();
            const QPoint topLeft = ClockFacePainter::numberPosition(number, w, h);
            placed.push_back({QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text});
        }
        return placed;
    }();
    return numbers;
}

// The sixty marks, as two outlines of lines (one a pen width): the same on every face.
struct Ticks {
    QPainterPath hours;    // every fifth mark, from radius 60 to 53
    QPainterPath minutes;  // the others, from radius 60 to 56
};

const Ticks& ticks() {
    static const Ticks made = [] {
        Ticks t;
        for (int i = 1; i <= 60; ++i) {
            const double theta = minuteAngle(i);
            QPainterPath& path = i % 5 == 0 ? t.hours : t.minutes;
            path.moveTo(ClockFacePainter::pointAt(theta, 60));
            path.lineTo(ClockFacePainter::pointAt(theta, i % 5 == 0 ? 53 : 56));
        }
        return t;
    }();
    return made;
}

// Device pixels per surface pixel under the painter's current transform.
double deviceScale(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    return std::sqrt(std::abs(t.determinant()));
}

}  // namespace

void ClockFacePainter::DrawClockFace(QPainter& painter) {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(0, 0, kSize, kSize), Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    setPenWidth(painter, 2);
    // Inset by half the pen so the whole ring stays on the surface.
    painter.drawEllipse(QRectF(1, 1, kSize - 2, kSize - 2));

    setPenWidth(painter, 2);
    painter.drawPath(ticks().hours);
    setPenWidth(painter, 1);
    painter.drawPath(ticks().minutes);
    // The numbers as text: outlines of an embedded font in a PDF, a few bytes each.
    painter.setFont(surfaceFont());
    for (const HourNumber& n : hourNumbers()) {
        painter.drawText(n.baseline, n.text);
    }
    setPenWidth(painter, 2);
    painter.drawEllipse(QRect(61, 61, 6, 6));
    painter.restore();
}

void ClockFacePainter::DrawClockHands(QPainter& painter, int hour, int minute) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Shown small (the window's preview), a one-pixel hand would fade to nothing: the
    // hands keep at least a device pixel and a half, the hour hand twice the minute's.
    const double scale = deviceScale(painter);
    const double minuteWidth = std::max(1.0, scale > 0 ? kMinimumHandPixels / scale : 1.0);
    const double hourWidth = std::max(2.0, 2 * minuteWidth);
    const QPointF centre(kCentre, kCentre);
    QPen pen(Qt::black);
    pen.setCapStyle(Qt::RoundCap);
    pen.setWidthF(minuteWidth);
    painter.setPen(pen);
    painter.drawLine(centre, QPointF(pointAt(minuteAngle(minute), 45)));
    pen.setWidthF(hourWidth);
    painter.setPen(pen);
    painter.drawLine(centre, QPointF(pointAt((30.0 * hour + minute / 2.0) * kPi / 180, 28)));
    painter.restore();
}

ClockFaceDrawing::ClockFaceDrawing(int hour, int minute) : hour_(hour), minute_(minute) {}

QSizeF ClockFaceDrawing::size() const {
    return {ClockFacePainter::kSize, ClockFacePainter::kSize};
}

void ClockFaceDrawing::paint(QPainter& painter) const {
    ClockFacePainter::DrawClockFace(painter);
    ClockFacePainter::DrawClockHands(painter, hour_, minute_);
}

bool ClockFaceDrawing::sameAs(const CellDrawing& other) const {
    const auto* face = dynamic_cast<const ClockFaceDrawing*>(&other);
    return face && face->hour_ == hour_ && face->minute_ == minute_;
}

std::shared_ptr<const CellDrawing> ClockFacePainter::drawing(int hour, int minute) {
    return std::make_shared<const ClockFaceDrawing>(hour, minute);
}

QImage ClockFacePainter::face(int hour, int minute) {
    QImage image(kSize * kPrintScale, kSize * kPrintScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kPrintScale);
    QPainter painter(&image);
    ClockFaceDrawing(hour, minute).paint(painter);
    return image;
}

}  // namespace sumbrook
