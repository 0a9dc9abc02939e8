#pragma once

#include <QFont>
#include <QPointF>

namespace sumbrook::clock_face {

// The proportions of the scene's clock, as shares of its outer radius: a thick rim, the
// ticks inside it, the numerals inside the ticks, and two hands that end short of the
// numerals so that every numeral stays readable whatever the time.
constexpr double kRimWidth = 14;        // units, not a share
constexpr double kNumeralInset = 0.21;  // from the dial's edge to a numeral's centre
constexpr double kNumeralSize = 0.2;
constexpr double kMinuteHand = 0.47;
constexpr double kMinuteHandWidth = 0.045;
constexpr double kHourHand = 0.33;
constexpr double kHourHandWidth = 0.1;

// The point `radius` from `centre` at `degrees` clockwise from 12.
QPointF onDial(QPointF centre, double radius, double degrees);
// Where the numeral of hour h (1..12) is centred.
QPointF numeralCentre(QPointF centre, double radius, int hour);
// Condensed numerals keep 10, 11 and 12 apart at a size a child reads at a glance.
QFont numeralFont(double radius);

}  // namespace sumbrook::clock_face
