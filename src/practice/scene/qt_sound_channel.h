#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <array>
#include <memory>

#include "practice/core/sound_channel.h"

class QAudioOutput;
class QMediaPlayer;

namespace sumbrook {

// The sound channel of a machine with an audio output, played by Qt Multimedia from the
// compiled-in sounds: one player for the song and a few for clips, so clips overlap the
// song and each other. It does not choose what to play; the music rules do.
class QtSoundChannel final : public QObject, public SoundChannel {
  public:
    static constexpr int kEffectPlayers = 4;

    QtSoundChannel();
    ~QtSoundChannel() override;

    void playSong(const QString& name, int repeats) override;
    void playEffect(const QString& name) override;
    void stopAll() override;
    void setVolume(int volume) override;
    int volume() const override { return volume_; }
    void setSongFinishedHandler(std::function<void()> handler) override;

    // For tests: the players themselves, to watch their state and position.
    QMediaPlayer* songPlayer() const { return song_.player; }
    QMediaPlayer* effectPlayer(int i) const {
        return effects_.at(static_cast<std::size_t>(i)).player;
    }
    // How many distinct errors have been reported on stderr.
    int reportedErrors() const { return static_cast<int>(reported_.size()); }

  private:
    struct Voice {
        QMediaPlayer* player = nullptr;
        QAudioOutput* output = nullptr;
        QString name;
    };

    Voice makeVoice();
    void start(Voice& voice, const QString& name, int loops);
    void report(const QString& name, const QString& error);
    void songStatusChanged(int status);

    Voice song_;
    std::array<Voice, kEffectPlayers> effects_;
    int nextEffect_ = 0;
    int volume_ = 100;
    // Bumped by every playSong and stopAll, so a song end that was queued before them
    // does not count.
    quint64 songGeneration_ = 0;
    bool songPlaying_ = false;
    std::function<void()> finished_;
    QSet<QString> reported_;
};

}  // namespace sumbrook
