#pragma once

#include <QByteArray>

namespace sumbrook {

// The movie as the build embedded it: the practice scene's art and sounds in one binary Qt
// resource bundle. Constant program data that lives as long as the process. Start-up
// hands it to MoviePlayer::LoadMovieFromMemory; whatever shows the scene without a player
// (scene tests, benchmarks) registers it directly with a SceneBundle.
QByteArray movieBytes();

}  // namespace sumbrook
