#pragma once

#include "practice/core/sound_channel.h"

namespace sumbrook {

// The channel of a machine without sound: it keeps the volume and plays nothing, so a
// song never ends and the music rules simply wait.
class SilentSoundChannel final : public SoundChannel {
  public:
    void playSong(const QString&, int) override {}
    void playEffect(const QString&) override {}
    void stopAll() override {}
    void setVolume(int volume) override { volume_ = volume; }
    int volume() const override { return volume_; }
    void setSongFinishedHandler(std::function<void()>) override {}

  private:
    int volume_ = 100;
};

}  // namespace sumbrook
