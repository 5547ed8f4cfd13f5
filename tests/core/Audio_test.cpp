#include "TestSupport.h"
#include "WavFile.h"
#include "core/LogManager.h"
#include "core/Music.h"
#include "core/Sound.h"

namespace tx::test {
namespace {

using SoundTest = EngineTest;

// Bad files are refused (a sound also when its header claims gigabytes); loaded sound and
// music play looping or not, and stop. Stopping music is logged even when idle.
TEST_F(SoundTest, SoundAndMusicLoadLoopAndStop) {
  ASSERT_EQ(LogManager::getInstance().startUp(), 0);
  LogManager::getInstance().setFlush(true);
  LogManager::getInstance().setLogLevel(5);
  const std::string wav = path("tune.wav"), liar = path("liar.wav");
  ASSERT_TRUE(writeWav(wav, 44100) && writeWav(liar, 20, 44100, 0xFFFFFFF0u));
  Sound sound;
  Music music;
  music.stop();
  for (const std::string& bad : {path("missing.wav"), writeFile("junk.wav", "RIFF junk"), dir})
    EXPECT_EQ(sound.loadSound(bad) + music.loadMusic(bad), -2) << bad;
  EXPECT_EQ(sound.loadSound(liar), -1);
  ASSERT_EQ(sound.loadSound(wav) + music.loadMusic(wav), 0);
  sound.play(true);
  music.play(true);
  EXPECT_TRUE(sound.getSound()->getLoop() && music.getMusic()->getLoop());
  EXPECT_EQ(sound.getSound()->getStatus(), sf::SoundSource::Playing);
  EXPECT_EQ(music.getMusic()->getStatus(), sf::SoundSource::Playing);
  EXPECT_TRUE(logHas("Sound::play(): Playing sound.") && logHas("Music::play(): Playing music."));
  sound.stop();
  music.stop();
  EXPECT_EQ(sound.getSound()->getStatus(), sf::SoundSource::Stopped);
  EXPECT_EQ(music.getMusic()->getStatus(), sf::SoundSource::Stopped);
  EXPECT_EQ(logCount("Music::stop(): Stopping music."), 2);
  sound.play(false);
  music.play(false);
  EXPECT_FALSE(sound.getSound()->getLoop() || music.getMusic()->getLoop());
}

}  // namespace
}  // namespace tx::test
