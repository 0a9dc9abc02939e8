#pragma once

#include <QString>
#include <array>

#include "common/uniform_source.h"
#include "sound_channel.h"

namespace sumbrook {

struct SongChoice {
    const char* caption;  // UTF-8
    int song;             // 1..9, or 0 for random play
};

// The background music and the volume row of the settings panel: random songs one after
// another at half volume, or one picked song repeated at the volume the user set. Nothing
// here is stored; every program start begins afresh.
class MusicRules {
  public:
    static constexpr int kSongs = 9;
    static constexpr int kRandomVolume = 50;
    static constexpr int kPickedRepeats = 999;
    static constexpr int kHoldIntervalMs = 50;
    static const std::array<SongChoice, 10>& choices();

    MusicRules(SoundChannel& channel, UniformSource& source);

    // Stops every sound, plays a random song once and sets the volume to 50.
    void boofang();
    // Stops every sound and repeats song k (1..9), keeping the volume.
    void pickSong(int k);
    // The panel's "随机播放".
    void randomPlay();
    // The panel's choice by its place in choices().
    void choose(int choiceIndex);

    // The volume row: yinliang is the value shown; the volume follows it on release.
    int yinliang() const { return yinliang_; }
    void panelShown() { yinliang_ = channel_.volume(); }
    // A volume button went down: direction +1 for "+", −1 for "-".
    void holdVolume(int direction) { holdDirection_ = direction > 0 ? 1 : -1; }
    // Every 50 ms while the button is held.
    void holdTick();
    // The button went up, or the pointer left it while it was held.
    void releaseVolume();
    bool holding() const { return holdDirection_ != 0; }

    QString currentSong() const { return currentSong_; }
    bool repeatingPickedSong() const { return picked_; }

  private:
    void play(int k, int repeats);

    SoundChannel& channel_;
    UniformSource& source_;
    int yinliang_ = kRandomVolume;
    int holdDirection_ = 0;
    QString currentSong_;
    bool picked_ = false;
};

}  // namespace sumbrook
