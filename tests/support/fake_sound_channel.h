#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "practice/core/sound_channel.h"

namespace sumbrook::testing {

// Records what was played; a test ends a song by calling finishSong().
class FakeSoundChannel final : public SoundChannel {
  public:
    void playSong(const QString& name, int repeats) override {
        song = name;
        songRepeats = repeats;
        log << QStringLiteral("song:%1x%2").arg(name).arg(repeats);
    }
    void playEffect(const QString& name) override {
        effects << name;
        log << QStringLiteral("effect:%1").arg(name);
    }
    void stopAll() override {
        song.clear();
        log << QStringLiteral("stop");
    }
    void setVolume(int v) override { volumeValue = v; }
    int volume() const override { return volumeValue; }
    void setSongFinishedHandler(std::function<void()> handler) override {
        finished = std::move(handler);
    }
    void finishSong() {
        if (finished) {
            finished();
        }
    }

    QString song;
    int songRepeats = 0;
    int volumeValue = 100;
    QStringList effects;
    QStringList log;
    std::function<void()> finished;
};

}  // namespace sumbrook::testing
