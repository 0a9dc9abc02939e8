#pragma once

#include <memory>

#include "practice/core/sound_channel.h"

namespace sumbrook {

// The scene's sound channel for this machine: one that plays through Qt Multimedia when
// an audio output exists, else a silent one, announced by one line on stderr. Needs the
// application object; what it plays comes from the registered SceneBundle.
std::unique_ptr<SoundChannel> createSoundChannel();

}  // namespace sumbrook
