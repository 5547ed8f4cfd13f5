#include "core/Sound.h"

#include "TestSupport.h"
#include "WavFile.h"
#include "core/LogManager.h"

namespace tx::test {
namespace {

class SoundTest : public EngineTest {};

TEST_F(SoundTest, NewSoundIsUndefinedAndHasNoBuffer) {
  Sound sound;
  EXPECT_EQ(sound.getLabel(), "[Undefined]");
  EXPECT_EQ(sound.getSound(), nullptr);
  // Playing and stopping a sound that never loaded does nothing.
  sound.play(true);
  sound.stop();
}

TEST_F(SoundTest, UnreadableFileLeavesTheSoundWithoutBuffer) {
  Sound sound;
  EXPECT_EQ(sound.loadSound(path("missing.wav")), -1);
  EXPECT_EQ(sound.loadSound(writeFile("junk.wav", "RIFF not really a wave file")), -1);
  EXPECT_EQ(sound.loadSound(dir), -1);
  EXPECT_EQ(sound.getSound(), nullptr);
}

TEST_F(SoundTest, HeaderClaimingGigabytesIsRefusedWithoutDecoding) {
  const std::string liar = path("liar.wav");
  ASSERT_TRUE(writeWav(liar, 20, 44100, 0xFFFFFFF0u));
  Sound sound;
  EXPECT_EQ(sound.loadSound(liar), -1);
  EXPECT_EQ(sound.getSound(), nullptr);
}

TEST_F(SoundTest, PlayLoopsWhenAskedAndStopStops) {
  ASSERT_EQ(LogManager::getInstance().startUp(), 0);
  LogManager::getInstance().setFlush(true);
  LogManager::getInstance().setLogLevel(5);
  const std::string wav = path("beep.wav");
  ASSERT_TRUE(writeWav(wav));
  Sound sound;
  ASSERT_EQ(sound.loadSound(wav), 0);
  ASSERT_NE(sound.getSound()->getBuffer(), nullptr);
  EXPECT_EQ(sound.getSound()->getBuffer()->getSampleCount(), 4410u);
  sound.play(true);
  EXPECT_TRUE(sound.getSound()->getLoop());
  EXPECT_EQ(sound.getSound()->getStatus(), sf::SoundSource::Playing);
  EXPECT_TRUE(logHas("Sound::play(): Playing sound."));
  sound.stop();
  EXPECT_EQ(sound.getSound()->getStatus(), sf::SoundSource::Stopped);
  sound.play(false);
  EXPECT_FALSE(sound.getSound()->getLoop());
  LogManager::getInstance().shutDown();
}

}  // namespace
}  // namespace tx::test
