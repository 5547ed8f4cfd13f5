#include "GameFixture.h"
#include "GameOver.h"
#include "LevelDisplay.h"
#include "Points.h"
#include "Powerup.h"
#include "display/ResourceManager.h"
#include "display/Sprite.h"

namespace tx::test {
namespace {

using Resources = GameTest;
using GameFlowTest = GameTest;

TEST_F(Resources, AllTwentyFourLoadWithoutAWarningOrError) {
  ResourceManager& rm = ResourceManager::getInstance();
  EXPECT_EQ(rm.getSpriteCount(), 19);
  EXPECT_EQ(rm.getSoundCount(), 3);
  EXPECT_EQ(rm.getMusicCount(), 2);
  for (const std::string& line : logMessages()) {
    for (const char* bad : {"Warning", "Error", "not loaded"}) {
      EXPECT_EQ(line.find(bad), std::string::npos) << line;
    }
  }
  for (const char* label : {"jump", "fall", "startup"}) EXPECT_NE(rm.getSound(label), nullptr);
  for (const char* label : {"game music", "menu music"}) EXPECT_NE(rm.getMusic(label), nullptr);
}

TEST_F(GameFlowTest, GameOverClearsTheGameAndTheTitleStartsAFreshOneWithTheSamePause) {
  GameStart* title = startGame();
  step(30);
  checkLevel(600);
  new Powerup(10.0f, 5.0f);
  player->setPosition(Vector(40.0f, boundary().getCorner().getY() + 30.0f));
  step();
  auto* screen = first<GameOver>("GameOver");
  ASSERT_NE(screen, nullptr);
  const Sprite* sprite = screen->getAnimation().getSprite();
  const int steps = sprite->getFrameCount() * sprite->getSlowdown();
  EXPECT_EQ(screen->getTimeToLive(), steps) << "one run of its animation";
  step(steps - 1);
  EXPECT_EQ(countOfType("GameOver"), 1);
  EXPECT_FALSE(title->isActive());
  step();
  for (const char* type :
       {"Platform", "ViewObject", "Floor", "Difficulty", "Powerup", "PowerupDisplay", "GameOver"}) {
    EXPECT_EQ(countOfType(type), 0) << type;
  }
  EXPECT_EQ(WorldManager::getInstance().getAllObjects(true).getCount(), 2);  // title and pause
  EXPECT_TRUE(title->isActive());
  EXPECT_EQ(title->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  sendKey(KeyCode::Q, KeyAction::PRESSED);
  EXPECT_TRUE(GameManager::getInstance().getGameOver()) << "Q on the title quits";
  GameManager::getInstance().setGameOver(false);

  for (KeyCode key : {KeyCode::SPACE, KeyCode::A, KeyCode::O, KeyCode::ESCAPE}) {
    for (KeyAction action : {KeyAction::PRESSED, KeyAction::HELD, KeyAction::RELEASED}) {
      sendKey(key, action);
    }
  }
  ASSERT_EQ(countOfType("Player"), 0) << "other keys do nothing";
  // P builds exactly one game: the title is inactive now, later presses never reach it.
  sendKey(KeyCode::P, KeyAction::PRESSED);
  sendKey(KeyCode::P, KeyAction::PRESSED);
  EXPECT_FALSE(title->isActive());
  EXPECT_NE(title->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  EXPECT_EQ(ResourceManager::getInstance().getSound("startup")->getSound()->getStatus(),
            sf::SoundSource::Playing);
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, 0.0f));
  for (const char* type : {"Player", "Floor", "Difficulty", "PowerupDisplay", "Pause"}) {
    EXPECT_EQ(countOfType(type), 1) << type;
  }
  EXPECT_EQ(countOfType("Platform"), 30);
  EXPECT_EQ(logCount("Pause::Pause(): Pause enabled.  Press any other key to resume."), 1);
  difficulty = first<Difficulty>("Difficulty");
  ASSERT_NE(difficulty, nullptr);
  EXPECT_EQ(difficulty->getLevel(), 5);
  EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), 0.075f);
  EXPECT_EQ(first<Points>("ViewObject")->getValue(), 0);
  EXPECT_EQ(first<LevelDisplay>("ViewObject")->getValue(), 1);
  step();
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, -0.075f));
}

}  // namespace
}  // namespace tx::test
