#include "clock_face.h"

#include <cmath>

#include "scene_style.h"

namespace sumbrook::clock_face {

QPointF onDial(QPointF centre, double radius, double degrees) {
    const double a = degrees * M_PI / 180;
    return centre + QPointF(radius * std::sin(a), -radius * std::cos(a));
}

QPointF numeralCentre(QPointF centre, double radius, int hour) {
    return onDial(centre, radius - kRimWidth - radius * kNumeralInset, hour * 30);
}

QFont numeralFont(double radius) {
    QFont numerals = scene_style::digitFont(radius * kNumeralSize);
    numerals.setStretch(QFont::SemiCondensed);
    return numerals;
}

}  // namespace sumbrook::clock_face
