#include "qt_sound_channel.h"

#include <QAudio>
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "scene_assets.h"

namespace sumbrook {

QtSoundChannel::QtSoundChannel() {
    song_ = makeVoice();
    for (Voice& voice : effects_) {
        voice = makeVoice();
    }
    connect(song_.player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) { songStatusChanged(status); });
    setVolume(volume_);
}

QtSoundChannel::~QtSoundChannel() {
    // The players are our children and outlive this body; cut them off and silence them
    // first, so no signal reaches a half-destroyed channel.
    song_.player->disconnect(this);
    for (Voice& voice : effects_) {
        voice.player->disconnect(this);
    }
    stopAll();
}

QtSoundChannel::Voice QtSoundChannel::makeVoice() {
    Voice voice;
    voice.player = new QMediaPlayer(this);
    voice.output = new QAudioOutput(this);
    voice.player->setAudioOutput(voice.output);
    QMediaPlayer* player = voice.player;
    connect(player, &QMediaPlayer::errorOccurred, this,
            [this, player](QMediaPlayer::Error, const QString& message) {
                report(player->source().fileName(), message);
            });
    return voice;
}

void QtSoundChannel::start(Voice& voice, const QString& name, int loops) {
    voice.player->stop();
    if (voice.name != name) {
        voice.name = name;
        voice.player->setSource(scene_assets::soundUrl(name));
    }
    voice.player->setLoops(loops);
    voice.player->play();
}

void QtSoundChannel::playSong(const QString& name, int repeats) {
    ++songGeneration_;
    songPlaying_ = true;
    start(song_, name, std::max(1, repeats));
}

void QtSoundChannel::playEffect(const QString& name) {
    // A free player if there is one, else the one whose clip started longest ago.
    int chosen = nextEffect_;
    for (int i = 0; i < kEffectPlayers; ++i) {
        const int k = (nextEffect_ + i) % kEffectPlayers;
        if (effects_[static_cast<std::size_t>(k)].player->playbackState() !=
            QMediaPlayer::PlayingState) {
            chosen = k;
            break;
        }
    }
    nextEffect_ = (chosen + 1) % kEffectPlayers;
    start(effects_[static_cast<std::size_t>(chosen)], name, 1);
}

void QtSoundChannel::stopAll() {
    ++songGeneration_;
    songPlaying_ = false;
    song_.player->stop();
    for (Voice& voice : effects_) {
        voice.player->stop();
    }
}

void QtSoundChannel::setVolume(int volume) {
    volume_ = std::clamp(volume, 0, 100);
    // The ear hears loudness logarithmically; the panel's steps should sound even.
    const float linear = static_cast<float>(QAudio::convertVolume(
        volume_ / 100.0, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale));
    song_.output->setVolume(linear);
    for (Voice& voice : effects_) {
        voice.output->setVolume(linear);
    }
}

void QtSoundChannel::setSongFinishedHandler(std::function<void()> handler) {
    finished_ = std::move(handler);
}

void QtSoundChannel::songStatusChanged(int status) {
    if (status != QMediaPlayer::EndOfMedia || !songPlaying_) {
        return;
    }
    songPlaying_ = false;
    // The handler usually starts the next song on this same player; doing that from
    // inside the player's own signal is not safe, so it runs once control is back in
    // the event loop, unless something else was played or stopped meanwhile.
    const quint64 generation = songGeneration_;
    QTimer::singleShot(0, this, [this, generation] {
        if (generation == songGeneration_ && finished_) {
            finished_();
        }
    });
}

void QtSoundChannel::report(const QString& name, const QString& error) {
    const QString line = QStringLiteral("sumbrook: sound %1: %2").arg(name, error);
    if (reported_.contains(line)) {
        return;
    }
    reported_.insert(line);
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

}  // namespace sumbrook
