#include "core/Music.h"

#include "TestSupport.h"
#include "WavFile.h"
#include "core/LogManager.h"

namespace tx::test {
namespace {

class MusicTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(LogManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    LogManager::getInstance().setLogLevel(5);
  }
  void TearDown() override {
    LogManager::getInstance().shutDown();
    EngineTest::TearDown();
  }
};

TEST_F(MusicTest, NewMusicIsUndefined) {
  Music music;
  EXPECT_EQ(music.getLabel(), "[Undefined]");
}

TEST_F(MusicTest, UnreadableFilesAreRefused) {
  Music music;
  EXPECT_EQ(music.loadMusic(path("missing.ogg")), -1);
  EXPECT_EQ(music.loadMusic(writeFile("junk.ogg", std::string(64, '\x01'))), -1);
  EXPECT_EQ(music.loadMusic(dir), -1);
}

TEST_F(MusicTest, PlayStreamsAndLoopsAndStopIsLoggedEvenWhenIdle) {
  const std::string wav = path("tune.wav");
  ASSERT_TRUE(writeWav(wav, 44100));
  Music music;
  music.stop();
  EXPECT_EQ(logCount("Music::stop(): Stopping music."), 1);
  ASSERT_EQ(music.loadMusic(wav), 0);
  EXPECT_EQ(music.getMusic()->getChannelCount(), 1u);
  music.play(true);
  EXPECT_TRUE(logHas("Music::play(): Playing music."));
  EXPECT_TRUE(music.getMusic()->getLoop());
  EXPECT_EQ(music.getMusic()->getStatus(), sf::SoundSource::Playing);
  music.stop();
  EXPECT_EQ(music.getMusic()->getStatus(), sf::SoundSource::Stopped);
  EXPECT_EQ(logCount("Music::stop(): Stopping music."), 2);
  music.play(false);
  EXPECT_FALSE(music.getMusic()->getLoop());
}

}  // namespace
}  // namespace tx::test
