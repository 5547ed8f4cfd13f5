#include "core/Sound.h"

#include "TestSupport.h"
#include "WavFile.h"

namespace tx::test {
namespace {

using SoundTest = LoggedTest;

// Unreadable files and a header claiming gigabytes give -1; a loaded sound plays looping or
// once, and stops.
TEST_F(SoundTest, RefusesBadFilesAndPlaysLoopingOrOnce) {
  LogManager::getInstance().setLogLevel(5);
  Sound sound;
  for (const std::string& bad : {path("missing.wav"), writeFile("junk.wav", "RIFF junk"), dir})
    EXPECT_EQ(sound.loadSound(bad), -1) << bad;
  ASSERT_TRUE(writeWav(path("liar.wav"), 20, 44100, 0xFFFFFFF0u));
  EXPECT_EQ(sound.loadSound(path("liar.wav")), -1);
  ASSERT_TRUE(writeWav(path("tune.wav"), 44100));
  ASSERT_EQ(sound.loadSound(path("tune.wav")), 0);
  sound.play(true);
  EXPECT_TRUE(sound.getSound()->getLoop());
  EXPECT_EQ(sound.getSound()->getStatus(), sf::SoundSource::Playing);
  EXPECT_TRUE(logHas("Sound::play(): Playing sound."));
  sound.stop();
  EXPECT_EQ(sound.getSound()->getStatus(), sf::SoundSource::Stopped);
  sound.play(false);
  EXPECT_FALSE(sound.getSound()->getLoop());
}

}  // namespace
}  // namespace tx::test
