#include "tolvex/display/ResourceManager.h"

#include "DisplayFixture.h"

namespace tx::test {
namespace {

// One frame of 3 x 2 with only the required header keys.
const char* const SPRITE =
    "<HEADER>\nframes 1\nwidth 3\nheight 2\n</HEADER>\n<BODY>\nabc\ndef\nend\n</BODY>\n"
    "<FOOTER>\nversion 1\n</FOOTER>\n";

// Each kind is refused beyond its limit: 1000 sprites, 100 sounds, 50 pieces of music. Shutting
// down stops the music, releases the sprites and refuses loads until started again.
TEST_F(ResourceTest, LoadsAreRefusedBeyondTheLimitsAndAfterShutDown) {
  ResourceManager& resources = ResourceManager::getInstance();
  const std::string file = writeFile("s.txt", SPRITE), wav = path("beep.wav");
  ASSERT_TRUE(writeWav(wav));
  for (int i = 0; i < MAX_SPRITES; i++) ASSERT_EQ(resources.loadSprite(file, "s"), 0);
  for (int i = 0; i < MAX_SOUNDS; i++) ASSERT_EQ(resources.loadSound(wav, std::to_string(i)), 0);
  for (int i = 0; i < MAX_MUSICS; i++) ASSERT_EQ(resources.loadMusic(wav, std::to_string(i)), 0);
  const auto loadEach = [&] {
    return resources.loadSprite(file, "x") + resources.loadSound(wav, "x") +
           resources.loadMusic(wav, "x");
  };
  EXPECT_EQ(loadEach(), -3);
  EXPECT_EQ(resources.getSpriteCount(), MAX_SPRITES);
  EXPECT_TRUE(logHas("RM::loadSprite(): Error! Cannot add more Sprites (max is 1000)."));
  resources.getMusic("0")->play(true);
  resources.shutDown();
  EXPECT_EQ(resources.getMusic("0")->getMusic()->getStatus(), sf::SoundSource::Stopped);
  EXPECT_EQ(resources.getSpriteCount(), 0);
  EXPECT_EQ(loadEach(), -3);
}

}  // namespace
}  // namespace tx::test
