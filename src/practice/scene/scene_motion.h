#pragma once

#include <algorithm>
#include <cmath>

namespace sumbrook::motion {

// The scene's easing curves over t in [0, 1] (clamped): arrivals ease out, never snap.
inline double clamp01(double t) {
    return std::clamp(t, 0.0, 1.0);
}
inline double easeOutCubic(double t) {
    t = clamp01(t);
    return 1 - std::pow(1 - t, 3);
}
// Overshoots a little and settles: things arrive with a friendly pop.
inline double easeOutBack(double t) {
    t = clamp01(t);
    const double c = 1.70158;
    return 1 + (c + 1) * std::pow(t - 1, 3) + c * std::pow(t - 1, 2);
}
// Falls and bounces twice, like a ball landing on grass.
inline double easeOutBounce(double t) {
    t = clamp01(t);
    const double n = 7.5625;
    const double d = 2.75;
    if (t < 1 / d) {
        return n * t * t;
    }
    if (t < 2 / d) {
        t -= 1.5 / d;
        return n * t * t + 0.75;
    }
    if (t < 2.5 / d) {
        t -= 2.25 / d;
        return n * t * t + 0.9375;
    }
    t -= 2.625 / d;
    return n * t * t + 0.984375;
}

}  // namespace sumbrook::motion
