// The sound channel as the music rules and screens use it: what plays, when a song
// counts as finished, one volume for all, and quiet failure. Tests that need to hear
// (an audio output) skip where there is none; .ci/run provides a null output.
#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QAudioOutput>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTest>
#include <memory>
#include <vector>

#include "practice/core/sound_names.h"
#include "practice/scene/qt_sound_channel.h"
#include "practice/scene/sound_channel_factory.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

bool haveAudioOutput() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

#define REQUIRE_AUDIO_OUTPUT()                                                       \
    do {                                                                             \
        if (!haveAudioOutput()) {                                                    \
            GTEST_SKIP() << "no audio output on this machine (see with-null-audio)"; \
        }                                                                            \
    } while (false)

// A channel that plays at volume 0: the tests run to the end of real sounds without
// making a developer's speakers play them.
std::unique_ptr<QtSoundChannel> quietChannel() {
    auto channel = std::make_unique<QtSoundChannel>();
    channel->setVolume(0);
    return channel;
}

std::vector<QString> clips() {
    std::vector<QString> names{sound_names::introJingle(), sound_names::fanfare(),
                               sound_names::settingsHover(), sound_names::settingsPress()};
    for (int k = 0; k < 3; ++k) {
        names.push_back(sound_names::praise(k));
        names.push_back(sound_names::comfort(k));
    }
    return names;
}

std::string testName(const QString& name) {
    return name.chopped(4).toStdString();
}

// ---- without a device too --------------------------------------------------------

TEST(SoundChannelFactory, GivesAChannelThatKeepsItsVolumeEitherWay) {
    ::testing::internal::CaptureStderr();
    std::unique_ptr<SoundChannel> channel = createSoundChannel();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, haveAudioOutput()
                        ? ""
                        : "sumbrook: no audio output found; the scene runs without sound\n");
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(dynamic_cast<QtSoundChannel*>(channel.get()) != nullptr, haveAudioOutput());
    for (int volume : {50, 0, 100, 37}) {
        channel->setVolume(volume);
        EXPECT_EQ(channel->volume(), volume);
    }
    int finished = 0;
    channel->setSongFinishedHandler([&] { ++finished; });
    channel->setVolume(0);
    channel->playSong(sound_names::song(1), 1);
    channel->playEffect(sound_names::settingsPress());
    channel->stopAll();
    QTest::qWait(100);
    EXPECT_EQ(finished, 0);
}

TEST(QtSoundChannelVolume, OneVolumeForEverySoundRisingWithTheValue) {
    QtSoundChannel channel;
    std::vector<QAudioOutput*> outputs{channel.songPlayer()->audioOutput()};
    for (int i = 0; i < QtSoundChannel::kEffectPlayers; ++i) {
        outputs.push_back(channel.effectPlayer(i)->audioOutput());
    }
    float previous = -1;
    for (int volume : {0, 1, 25, 50, 75, 99, 100}) {
        channel.setVolume(volume);
        EXPECT_EQ(channel.volume(), volume);
        const float level = outputs.front()->volume();
        for (QAudioOutput* output : outputs) {
            ASSERT_NE(output, nullptr);
            EXPECT_FLOAT_EQ(output->volume(), level) << "volume " << volume;
        }
        EXPECT_GE(level, previous) << "volume " << volume;
        previous = level;
    }
    EXPECT_FLOAT_EQ(previous, 1.0f);
    channel.setVolume(50);
    EXPECT_GT(outputs.front()->volume(), 0.0f);
    EXPECT_LT(outputs.front()->volume(), 1.0f);
    channel.setVolume(1);
    EXPECT_GT(outputs.front()->volume(), 0.0f) << "the lowest step is still heard";
    channel.setVolume(0);
    EXPECT_FLOAT_EQ(outputs.front()->volume(), 0.0f);
}

// ---- with an audio output ---------------------------------------------------------

class Clip : public ::testing::TestWithParam<QString> {};

TEST_P(Clip, PlaysToItsEndWithoutError) {
    REQUIRE_AUDIO_OUTPUT();
    auto channel = quietChannel();
    channel->playEffect(GetParam());
    QMediaPlayer* player = channel->effectPlayer(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->position() > 0; }, 5000));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return player->mediaStatus() == QMediaPlayer::EndOfMedia; }, 10000))
        << "status " << player->mediaStatus();
    EXPECT_EQ(player->error(), QMediaPlayer::NoError) << player->errorString().toStdString();
    EXPECT_EQ(channel->reportedErrors(), 0);
    // As after a song: the pipeline is let go of and PulseAudio's side settles before the
    // channel is destroyed (a teardown straight after the end, under load, once aborted
    // inside libpulse's main loop).
    channel->stopAll();
    QTest::qWait(100);
}

INSTANTIATE_TEST_SUITE_P(EveryClip, Clip, ::testing::ValuesIn(clips()),
                         [](const auto& row) { return testName(row.param); });

class Song : public ::testing::TestWithParam<int> {};

TEST_P(Song, StartsPlayingWithoutError) {
    REQUIRE_AUDIO_OUTPUT();
    auto channel = quietChannel();
    int finished = 0;
    channel->setSongFinishedHandler([&] { ++finished; });
    channel->playSong(sound_names::song(GetParam()), 1);
    QMediaPlayer* player = channel->songPlayer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->position() > 200; }, 10000));
    EXPECT_EQ(player->playbackState(), QMediaPlayer::PlayingState);
    EXPECT_EQ(player->error(), QMediaPlayer::NoError) << player->errorString().toStdString();
    channel->stopAll();
    QTest::qWait(100);
    EXPECT_EQ(finished, 0) << "stopping is not finishing";
}

INSTANTIATE_TEST_SUITE_P(EverySong, Song, ::testing::Range(1, 10));

// The hover clip (0.13 s) stands in for a song so its repetitions end quickly.
TEST(SongEnd, IsReportedOnceAfterTheLastRepetition) {
    REQUIRE_AUDIO_OUTPUT();
    for (int repeats : {1, 3}) {
        auto channel = quietChannel();
        int finished = 0;
        QElapsedTimer timer;
        channel->setSongFinishedHandler([&] { ++finished; });
        timer.start();
        channel->playSong(sound_names::settingsHover(), repeats);
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished > 0; }, 10000)) << repeats;
        EXPECT_GE(timer.elapsed(), repeats * 100) << "ended before all repetitions";
        QTest::qWait(500);
        EXPECT_EQ(finished, 1) << repeats;
    }
}

TEST(SongEnd, HandlerMayStartTheNextSongRightAway) {
    REQUIRE_AUDIO_OUTPUT();
    auto channel = quietChannel();
    int finished = 0;
    channel->setSongFinishedHandler([&] {
        ++finished;
        channel->stopAll();
        channel->playSong(finished < 3 ? sound_names::settingsPress() : sound_names::song(2), 1);
    });
    channel->playSong(sound_names::settingsHover(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished == 3; }, 15000)) << finished;
    QMediaPlayer* player = channel->songPlayer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->position() > 200; }, 10000));
    EXPECT_EQ(player->source().fileName(), sound_names::song(2));
    EXPECT_EQ(channel->reportedErrors(), 0);
}

TEST(SongEnd, IsNotReportedWhenStoppedOrReplacedBeforeItsEnd) {
    REQUIRE_AUDIO_OUTPUT();
    auto channel = quietChannel();
    int finished = 0;
    channel->setSongFinishedHandler([&] { ++finished; });
    channel->playSong(sound_names::settingsHover(), 1);
    channel->stopAll();
    QTest::qWait(600);
    EXPECT_EQ(finished, 0);
    channel->playSong(sound_names::settingsHover(), 1);
    channel->playSong(sound_names::fanfare(), 1);  // replaces the first before it ends
    QTest::qWait(1000);
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished > 0; }, 10000));
    EXPECT_EQ(finished, 1);
}

TEST(Effects, OverlapTheSongAndEachOther) {
    REQUIRE_AUDIO_OUTPUT();
    auto channel = quietChannel();
    channel->playSong(sound_names::song(3), 1);
    channel->playEffect(sound_names::fanfare());
    channel->playEffect(sound_names::introJingle());
    QMediaPlayer* song = channel->songPlayer();
    QMediaPlayer* first = channel->effectPlayer(0);
    QMediaPlayer* second = channel->effectPlayer(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return first->position() > 300 && second->position() > 300; },
                                10000));
    EXPECT_EQ(song->playbackState(), QMediaPlayer::PlayingState);
    EXPECT_EQ(first->playbackState(), QMediaPlayer::PlayingState);
    EXPECT_EQ(second->playbackState(), QMediaPlayer::PlayingState);
    channel->stopAll();
    for (QMediaPlayer* player : {song, first, second}) {
        EXPECT_EQ(player->playbackState(), QMediaPlayer::StoppedState);
    }
}

// The hover sound plays on every pointer move over a control: a burst of them must
// keep playing, the latest from its start.
TEST(Effects, ABurstOfTheSameClipKeepsPlaying) {
    REQUIRE_AUDIO_OUTPUT();
    auto channel = quietChannel();
    for (int i = 0; i < 3 * QtSoundChannel::kEffectPlayers; ++i) {
        channel->playEffect(sound_names::settingsHover());
        QTest::qWait(20);
    }
    QTest::qWait(1000);
    channel->playEffect(sound_names::praise(0));
    bool playing = QTest::qWaitFor(
        [&] {
            for (int i = 0; i < QtSoundChannel::kEffectPlayers; ++i) {
                QMediaPlayer* player = channel->effectPlayer(i);
                if (player->source().fileName() == sound_names::praise(0) &&
                    player->position() > 100) {
                    return true;
                }
            }
            return false;
        },
        5000);
    EXPECT_TRUE(playing);
    EXPECT_EQ(channel->reportedErrors(), 0);
}

TEST(Errors, AMissingSoundIsReportedOnceAndPlayingGoesOn) {
    auto channel = quietChannel();
    int finished = 0;
    channel->setSongFinishedHandler([&] { ++finished; });
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 5; ++i) {
        channel->playEffect(QStringLiteral("missing.mp3"));
        channel->playSong(QStringLiteral("missing-song.mp3"), 1);
        QTest::qWait(100);
    }
    QTest::qWait(500);
    const QString said = QString::fromStdString(::testing::internal::GetCapturedStderr());
    const QStringList lines = said.split(u'\n', Qt::SkipEmptyParts).filter(u"sumbrook:");
    EXPECT_LE(lines.size(), 2) << "one line per distinct error:\n" << said.toStdString();
    EXPECT_EQ(lines.size(), channel->reportedErrors());
    EXPECT_EQ(finished, 0) << "a song that cannot play has not finished";
    if (haveAudioOutput()) {
        EXPECT_GE(channel->reportedErrors(), 1);
        channel->playEffect(sound_names::settingsPress());
        bool ended = QTest::qWaitFor(
            [&] {
                for (int i = 0; i < QtSoundChannel::kEffectPlayers; ++i) {
                    QMediaPlayer* player = channel->effectPlayer(i);
                    if (player->source().fileName() == sound_names::settingsPress() &&
                        player->mediaStatus() == QMediaPlayer::EndOfMedia) {
                        return true;
                    }
                }
                return false;
            },
            5000);
        EXPECT_TRUE(ended);
    }
}

}  // namespace
}  // namespace sumbrook
