#include "practice/core/music_rules.h"

#include <gtest/gtest.h>

#include "practice/core/sound_names.h"
#include "support/fake_sound_channel.h"
#include "support/qstring_printer.h"
#include "support/scripted_source.h"

namespace sumbrook {
namespace {

TEST(MusicRules, RandomSongsAreNamedByTheirDigitThreeTimes) {
    for (int k = 1; k <= 9; ++k) {
        testing::FakeSoundChannel channel;
        testing::ScriptedSource source{(k - 0.5) / 9};
        MusicRules music(channel, source);
        music.boofang();
        EXPECT_EQ(channel.song, QString(3, QChar(u'0' + k)) + ".mp3");
        EXPECT_EQ(channel.log.first(), "stop");
        EXPECT_EQ(channel.volume(), 50);
    }
}

TEST(MusicRules, EveryCaptionNamesItsSong) {
    const char* captions[] = {
        "ABC字母歌",    "good morning", "how are you", "I love family", "one two three four five",
        "what's this?", "little star",  "hello hello", "jingle bells",  "随机播放"};
    ASSERT_EQ(MusicRules::choices().size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_STREQ(MusicRules::choices()[i].caption, captions[i]);
        EXPECT_EQ(MusicRules::choices()[i].song, i < 9 ? i + 1 : 0);
    }
}

TEST(MusicRules, AFinishedRandomSongIsFollowedByAnotherAtHalfVolume) {
    testing::FakeSoundChannel channel;
    testing::ScriptedSource source{0.0, 0.99};
    MusicRules music(channel, source);
    music.boofang();
    EXPECT_EQ(channel.song, "111.mp3");
    channel.setVolume(80);
    channel.finishSong();
    EXPECT_EQ(channel.song, "999.mp3");
    EXPECT_EQ(channel.volume(), 50);
}

}  // namespace
}  // namespace sumbrook
