#include "GameFixture.h"
#include "LevelDisplay.h"
#include "Points.h"
#include "core/Pause.h"
#include "display/ResourceManager.h"

namespace tx::test {
namespace {

using GameStartTest = GameTest;

TEST_F(GameStartTest, TitleWaitsCentredWithItsMusic) {
  GameStart* title = new GameStart();
  EXPECT_EQ(title->getType(), "GameStart");
  EXPECT_EQ(title->getPosition(), Vector(40.0f, 12.0f));
  EXPECT_EQ(title->getSolidness(), SPECTRAL);
  ASSERT_NE(title->getMusic(), nullptr);
  EXPECT_EQ(title->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  EXPECT_TRUE(title->getMusic()->getMusic()->getLoop());
}

TEST_F(GameStartTest, PressingPBuildsExactlyOneGame) {
  GameStart* title = new GameStart();
  sendKey(KeyCode::P, KeyAction::PRESSED);
  // The title is inactive now: the held and released P never reach it.
  sendKey(KeyCode::P, KeyAction::HELD);
  sendKey(KeyCode::P, KeyAction::RELEASED);
  sendKey(KeyCode::P, KeyAction::PRESSED);
  EXPECT_FALSE(title->isActive());
  EXPECT_EQ(countOfType("Player"), 1);
  EXPECT_EQ(countOfType("Floor"), 1);
  EXPECT_EQ(countOfType("Difficulty"), 1);
  EXPECT_EQ(countOfType("Platform"), 30);
  EXPECT_EQ(countOfType("ViewObject"), 2);
  EXPECT_EQ(countOfType("PowerupDisplay"), 1);
  EXPECT_EQ(countOfType("Pause"), 1);
  EXPECT_NE(title->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  EXPECT_EQ(ResourceManager::getInstance().getSound("startup")->getSound()->getStatus(),
            sf::SoundSource::Playing);
}

TEST_F(GameStartTest, DisplaysStartAtTheBottomOfTheView) {
  startGame();
  Points* points = nullptr;
  LevelDisplay* level = nullptr;
  ObjectList displays = WorldManager::getInstance().objectsOfType("ViewObject");
  for (ObjectListIterator it(&displays); !it.isDone(); it.next()) {
    if (auto* found = dynamic_cast<LevelDisplay*>(it.currentObject())) level = found;
    if (auto* found = dynamic_cast<Points*>(it.currentObject())) points = found;
  }
  ASSERT_NE(points, nullptr);
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(points->getViewString(), "Height");
  EXPECT_EQ(points->getValue(), 0);
  EXPECT_EQ(points->getColor(), YELLOW);
  EXPECT_EQ(points->getLocation(), BOTTOM_CENTER);
  EXPECT_EQ(level->getViewString(), "Level");
  EXPECT_EQ(level->getValue(), 1);
  EXPECT_EQ(level->getLocation(), BOTTOM_LEFT);
  auto* power = first<ViewObject>("PowerupDisplay");
  ASSERT_NE(power, nullptr);
  EXPECT_EQ(power->getViewString(), "Powerup: None");
  EXPECT_FALSE(power->getDrawValue());
  EXPECT_EQ(power->getLocation(), BOTTOM_RIGHT);
}

TEST_F(GameStartTest, PressingQEndsTheLoop) {
  new GameStart();
  sendKey(KeyCode::Q, KeyAction::RELEASED);
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
}

TEST_F(GameStartTest, OtherKeysDoNothing) {
  GameStart* title = new GameStart();
  for (KeyCode key : {KeyCode::SPACE, KeyCode::A, KeyCode::O, KeyCode::ESCAPE}) {
    for (KeyAction action : {KeyAction::PRESSED, KeyAction::HELD, KeyAction::RELEASED}) {
      sendKey(key, action);
    }
  }
  EXPECT_TRUE(title->isActive());
  EXPECT_FALSE(GameManager::getInstance().getGameOver());
  EXPECT_EQ(countOfType("Player"), 0);
}

TEST_F(GameStartTest, OnePauseObjectServesEveryGame) {
  GameStart* title = startGame();
  // Back to the title the way game over brings it back, then a second game.
  title->setActive(true);
  title->start();
  EXPECT_EQ(countOfType("Pause"), 1);
}

}  // namespace
}  // namespace tx::test
