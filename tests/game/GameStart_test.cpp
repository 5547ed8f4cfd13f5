#include "GameStart.h"

#include "GameFixture.h"
#include "tolvex/display/ResourceManager.h"

namespace tx::test {
namespace {

class GameStartTest : public GameTest {
 protected:
  GameStartTest() { started = false; }
};

// P builds exactly one game at the start: the title goes quiet and
// inactive, so later presses never reach it; a game built after another keeps the one pause.
TEST_F(GameStartTest, PBuildsOneFreshGame) {
  sendKey(KeyCode::P, KeyAction::PRESSED);
  sendKey(KeyCode::P, KeyAction::PRESSED);
  EXPECT_FALSE(title->isActive());
  EXPECT_NE(title->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  EXPECT_EQ(ResourceManager::getInstance().getSound("startup")->getSound()->getStatus(),
            sf::SoundSource::Playing);
  for (const char* type : {"Player", "Floor", "Difficulty", "PowerupDisplay", "Pause"})
    EXPECT_EQ(countOfType(type), 1) << type;
  EXPECT_EQ(countOfType("Platform"), 30);
  title->start();
  EXPECT_EQ(countOfType("Pause"), 1);
}

}  // namespace
}  // namespace tx::test
