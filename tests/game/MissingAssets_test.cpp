// The real program started in a copy of the game's data with files missing or damaged: it must
// reach the title screen, play and quit cleanly, with the resource manager's messages only.

#include "ProgramFixture.h"

namespace tx::test {
namespace {

namespace fs = std::filesystem;

using MissingAssets = ProgramTest;

TEST_F(MissingAssets, GameStartsPlaysAndQuitsWithoutASpriteASoundAndTheMusic) {
  const fs::path data = fs::path(dir) / "game", source(TOLVEX_SOURCE_DIR);
  fs::create_directories(data);
  for (const char* part : {"sprites", "sounds", "tx-font.ttf"}) {
    fs::copy(source / part, data / part, fs::copy_options::recursive);
  }
  for (const char* gone : {"sprites/playerjump.txt", "sounds/jump.wav", "sounds/menuMusic.wav",
                           "sounds/ingameMusic.wav"}) {
    fs::remove(data / gone);
  }
  // Damaged: a sprite cut off in its body, a sound that is not audio at all.
  fs::resize_file(data / "sprites" / "platform2.txt", 60);
  writeFile("game/sounds/fall.wav", "RIFF, but not really");

  ASSERT_TRUE(launchAndFocus(data.string()));
  skipSplash();
  sleepMs(1000);
  EXPECT_TRUE(logHas("RM::loadSprite(): Error! Cannot open file 'sprites/playerjump.txt'."));
  EXPECT_TRUE(logHas("RM::loadSprite(): Sprite 'platform2' not loaded."));
  EXPECT_TRUE(logHas("RM::loadSound(): Error! Cannot load sound from file 'sounds/jump.wav'."));
  EXPECT_TRUE(logHas("RM::loadSound(): Error! Cannot load sound from file 'sounds/fall.wav'."));
  EXPECT_TRUE(
      logHas("RM::loadmusic(): Error! Cannot load music from file 'sounds/menuMusic.wav'."));

  // Play: a game starts, and jumping asks for the missing sound and sprite.
  startGameWithP();
  tap(XK_space);
  sleepMs(300);
  tap(XK_w);
  EXPECT_TRUE(
      waitFor([this] { return logHas("RM::getSound(): Warning! Sound 'jump' not found."); }, 10));
  sleepMs(1000);
  ASSERT_EQ(waitExit(0), -1) << "still running";

  // Q in play leaves at once, with status 0.
  EXPECT_EQ(quitWithQ(), 0) << logText();
  EXPECT_EQ(readFile(path("stderr.txt")).find("Sanitizer"), std::string::npos);
}

}  // namespace
}  // namespace tx::test
