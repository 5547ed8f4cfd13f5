#include "GameStart.h"

#include "GameFixture.h"

namespace tx::test {
namespace {

class GameStartTest : public GameTest {
 protected:
  GameStartTest() { started = false; }
};

// P builds one game, the title quiet and inactive after; F10 and Escape pause (here, windowless,
// try to) only a game in play; a game built after another keeps its two pauses.
TEST_F(GameStartTest, PBuildsOneFreshGameAndOnlyAGameInPlayPauses) {
  const auto pauses = [this] {
    sendKey(KeyCode::F10, KeyAction::PRESSED);
    sendKey(KeyCode::ESCAPE, KeyAction::PRESSED);
    return logCount(
        "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause.");
  };
  EXPECT_EQ(pauses(), 0) << "title";
  for (int i = 0; i < 2; ++i) sendKey(KeyCode::P, KeyAction::PRESSED);
  EXPECT_FALSE(title->isActive());
  EXPECT_NE(title->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  EXPECT_TRUE(playing("startup"));
  for (const char* type : {"Player", "Floor", "Difficulty", "PowerupDisplay"})
    EXPECT_EQ(countOfType(type), 1) << type;
  EXPECT_EQ(countOfType("Platform"), 30);
  EXPECT_EQ(pauses(), 2) << "play";
  findSingle<Player>("Player")->setPosition(Vector(40.0f, 30.0f));
  step();
  EXPECT_EQ(pauses(), 2) << "game over";
  while (countOfType("GameOver") == 1) step();
  EXPECT_EQ(pauses(), 2) << "title again";
  title->start();
  EXPECT_EQ(countOfType("Pause"), 2);
}

}  // namespace
}  // namespace tx::test
