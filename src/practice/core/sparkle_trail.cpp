#include "sparkle_trail.h"

#include <cstdlib>

namespace sumbrook {

SparkleTrail::SparkleTrail() {
    for (int k = 0; k < kStars; ++k) {
        stars_[static_cast<std::size_t>(k)].phase = k;
    }
}

void SparkleTrail::step(QPointF pointer) {
    for (std::size_t k = 0; k < stars_.size(); ++k) {
        Star& star = stars_[k];
        ++star.phase;
        if (star.phase == 17) {
            remembered_[k] = pointer;
        }
        if (star.phase > 19 && pointer == remembered_[k]) {
            star.opacity = 0;  // the pointer rests: the star stays hidden until it moves
            continue;
        }
        if (star.phase % 20 == 0) {
            star.opacity = 100;
            star.position = pointer;
        }
        star.phase %= 20;
        const int i = star.phase;
        star.rotation = 18.0 * i;
        star.scale = (100 - 10 * std::abs(10 - i)) * 0.3;
        star.green = 13 * i;
    }
}

}  // namespace sumbrook
