#include "core/Music.h"

#include "TestSupport.h"

namespace tx::test {
namespace {

using MusicTest = LoggedTest;

// Unreadable files give -1; loaded music plays looping or once, and stops. Stopping is logged
// even when nothing plays.
TEST_F(MusicTest, RefusesBadFilesAndPlaysLoopingOrOnce) {
  LogManager::getInstance().setLogLevel(5);
  Music music;
  music.stop();
  for (const std::string& bad : {path("missing.wav"), writeFile("junk.wav", "RIFF junk"), dir})
    EXPECT_EQ(music.loadMusic(bad), -1) << bad;
  ASSERT_TRUE(writeWav(path("tune.wav"), 44100));
  ASSERT_EQ(music.loadMusic(path("tune.wav")), 0);
  music.play(true);
  EXPECT_TRUE(music.getMusic()->getLoop());
  EXPECT_EQ(music.getMusic()->getStatus(), sf::SoundSource::Playing);
  EXPECT_TRUE(logHas("Music::play(): Playing music."));
  music.stop();
  EXPECT_EQ(music.getMusic()->getStatus(), sf::SoundSource::Stopped);
  EXPECT_EQ(logCount("Music::stop(): Stopping music."), 2);
  music.play(false);
  EXPECT_FALSE(music.getMusic()->getLoop());
}

}  // namespace
}  // namespace tx::test
