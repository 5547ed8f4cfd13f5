#include "tolvex/core/Sound.h"

#include "TestSupport.h"

namespace tx::test {
namespace {

using SoundTest = LoggedTest;

// A header claiming gigabytes of samples is refused like an unreadable file.
TEST_F(SoundTest, RefusesBadFilesAndPlaysLoopingOrOnce) {
  ASSERT_TRUE(writeWav(path("liar.wav"), 20) && writeWav(path("tune.wav"), 44100));
  writeFile("liar.wav", readFile(path("liar.wav")).replace(40, 4, "\xf0\xff\xff\xff"));
  Sound sound;
  for (const std::string& bad :
       {path("missing.wav"), writeFile("junk.wav", "RIFF junk"), dir, path("liar.wav")})
    EXPECT_EQ(sound.loadSound(bad), -1) << bad;
  ASSERT_EQ(sound.loadSound(path("tune.wav")), 0);
  sound.play(true);
  EXPECT_TRUE(sound.getSound()->getLoop());
  EXPECT_EQ(sound.getSound()->getStatus(), sf::SoundSource::Playing);
  sound.stop();
  EXPECT_EQ(sound.getSound()->getStatus(), sf::SoundSource::Stopped);
  sound.play(false);
  EXPECT_FALSE(sound.getSound()->getLoop());
}

}  // namespace
}  // namespace tx::test
