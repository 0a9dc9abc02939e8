#include "game_map.h"

#include <algorithm>
#include <cstdlib>

namespace sumbrook {

namespace {

constexpr std::array<int, GameMap::kLevels> kLevelExercises{
    3, 6, 7, 12, 15, 16, 19, 20, 22, 32, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 35};

int clampStop(int stop) {
    return std::clamp(stop, 0, GameMap::kStops - 1);
}

}  // namespace

int GameMap::exerciseForLevel(int level) {
    if (level < 0 || level >= kLevels) {
        return 0;
    }
    return kLevelExercises[static_cast<std::size_t>(level)];
}

void GameMap::placeAt(int stop) {
    from_ = to_ = clampStop(stop);
    pause_ = 0;
    walked_ = 0;
}

void GameMap::advance(int from, int to) {
    from_ = clampStop(from);
    to_ = clampStop(to);
    pause_ = kPauseSteps;
    walked_ = 0;
}

int GameMap::walkLength() const {
    return std::abs(to_ - from_) * kWalkSteps;
}

void GameMap::step() {
    if (pause_ > 0) {
        --pause_;
    } else if (walked_ < walkLength()) {
        ++walked_;
    }
}

double GameMap::markerPosition() const {
    const int length = walkLength();
    if (length == 0) {
        return to_;
    }
    return from_ + static_cast<double>(to_ - from_) * walked_ / length;
}

}  // namespace sumbrook
