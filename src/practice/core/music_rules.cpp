#include "music_rules.h"

#include <algorithm>

#include "sound_names.h"

namespace sumbrook {

const std::array<SongChoice, 10>& MusicRules::choices() {
    static const std::array<SongChoice, 10> kChoices{{
        {"ABC字母歌", 1},
        {"good morning", 2},
        {"how are you", 3},
        {"I love family", 4},
        {"one two three four five", 5},
        {"what's this?", 6},
        {"little star", 7},
        {"hello hello", 8},
        {"jingle bells", 9},
        {"随机播放", 0},
    }};
    return kChoices;
}

MusicRules::MusicRules(SoundChannel& channel, UniformSource& source)
    : channel_(channel), source_(source) {
    channel_.setSongFinishedHandler([this] { boofang(); });
}

void MusicRules::play(int k, int repeats) {
    currentSong_ = sound_names::song(k);
    channel_.playSong(currentSong_, repeats);
}

void MusicRules::boofang() {
    channel_.stopAll();
    play(static_cast<int>(source_.next() * kSongs + 1), 1);
    picked_ = false;
    channel_.setVolume(kRandomVolume);
}

void MusicRules::pickSong(int k) {
    if (k < 1 || k > kSongs) {
        return;
    }
    const int volume = channel_.volume();
    channel_.stopAll();
    play(k, kPickedRepeats);
    picked_ = true;
    channel_.setVolume(volume);
}

void MusicRules::randomPlay() {
    channel_.stopAll();
    boofang();
}

void MusicRules::choose(int choiceIndex) {
    if (choiceIndex < 0 || choiceIndex >= static_cast<int>(choices().size())) {
        return;
    }
    const int song = choices()[static_cast<std::size_t>(choiceIndex)].song;
    if (song == 0) {
        randomPlay();
    } else {
        pickSong(song);
    }
}

void MusicRules::holdTick() {
    yinliang_ = std::clamp(yinliang_ + holdDirection_, 0, 100);
}

void MusicRules::releaseVolume() {
    if (holdDirection_ == 0) {
        return;
    }
    holdDirection_ = 0;
    channel_.setVolume(yinliang_);
}

}  // namespace sumbrook
