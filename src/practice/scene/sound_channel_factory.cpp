#include "sound_channel_factory.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <cstdio>

#include "qt_sound_channel.h"
#include "silent_sound_channel.h"

namespace sumbrook {

std::unique_ptr<SoundChannel> createSoundChannel() {
    if (QMediaDevices::audioOutputs().isEmpty()) {
        std::fputs("sumbrook: no audio output found; the scene runs without sound\n", stderr);
        return std::make_unique<SilentSoundChannel>();
    }
    return std::make_unique<QtSoundChannel>();
}

}  // namespace sumbrook
