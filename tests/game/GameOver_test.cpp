#include "Difficulty.h"
#include "GameFixture.h"
#include "GameOver.h"
#include "LevelDisplay.h"
#include "Player.h"
#include "Points.h"
#include "Powerup.h"
#include "display/Sprite.h"

namespace tx::test {
namespace {

class GameOverTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    title = startGame();
  }

  void killPlayer() {
    Player* player = first<Player>("Player");
    ASSERT_NE(player, nullptr);
    player->setPosition(Vector(40.0f, boundary().getCorner().getY() + 30.0f));
    step();
    ASSERT_EQ(countOfType("Player"), 0);
  }

  GameStart* title = nullptr;
};

TEST_F(GameOverTest, LastsOneRunOfItsAnimation) {
  step(20);
  killPlayer();
  auto* screen = first<GameOver>("GameOver");
  ASSERT_NE(screen, nullptr);
  const Sprite* sprite = screen->getAnimation().getSprite();
  const int steps = sprite->getFrameCount() * sprite->getSlowdown();
  EXPECT_EQ(screen->getTimeToLive(), steps);
  EXPECT_EQ(screen->getPosition(), Vector(40.0f, 12.0f));
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, 0.0f));
  step(steps - 1);
  EXPECT_EQ(countOfType("GameOver"), 1);
  EXPECT_FALSE(title->isActive());
  step();
  EXPECT_EQ(countOfType("GameOver"), 0);
}

TEST_F(GameOverTest, ClearsTheGameAndBringsBackTheTitle) {
  step(10);
  new Powerup(10.0f, 5.0f);
  killPlayer();
  step(200);
  for (const char* type :
       {"Platform", "ViewObject", "Floor", "Difficulty", "Powerup", "PowerupDisplay", "GameOver"}) {
    EXPECT_EQ(countOfType(type), 0) << type;
  }
  EXPECT_EQ(WorldManager::getInstance().getAllObjects(true).getCount(), 2);  // title and pause
  EXPECT_TRUE(title->isActive());
  EXPECT_EQ(countOfType("Pause"), 1);
  EXPECT_EQ(title->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  sendKey(KeyCode::Q, KeyAction::PRESSED);
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
}

TEST_F(GameOverTest, SecondGameStartsFresh) {
  // Climb a while and gain a level first.
  step(30);
  checkLevel(600);
  killPlayer();
  step(200);
  sendKey(KeyCode::P, KeyAction::PRESSED);
  EXPECT_FALSE(title->isActive());
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, 0.0f));
  EXPECT_EQ(countOfType("Player"), 1);
  EXPECT_EQ(countOfType("Platform"), 30);
  EXPECT_EQ(countOfType("Pause"), 1);
  auto* difficulty = first<Difficulty>("Difficulty");
  ASSERT_NE(difficulty, nullptr);
  EXPECT_EQ(difficulty->getLevel(), 5);
  EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), 0.075f);
  ObjectList displays = WorldManager::getInstance().objectsOfType("ViewObject");
  int checked = 0;
  for (ObjectListIterator it(&displays); !it.isDone(); it.next()) {
    if (auto* points = dynamic_cast<Points*>(it.currentObject())) {
      EXPECT_EQ(points->getValue(), 0);
      ++checked;
    }
    if (auto* level = dynamic_cast<LevelDisplay*>(it.currentObject())) {
      EXPECT_EQ(level->getValue(), 1);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 2);
  step();
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, -0.075f));
}

// The engine alone, without the game's resources.
class GameOverWithoutSprites : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    writeFile("tx-config.txt", "headless:true,\n");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    EngineTest::TearDown();
  }
};

TEST_F(GameOverWithoutSprites, EndsAtItsFirstStep) {
  auto* screen = new GameOver();
  EXPECT_EQ(screen->getTimeToLive(), 0);
  EXPECT_TRUE(logHas("Object::setSprite(): Warning! Sprite 'gameover' not found"));
  const EventStep event(0);
  GameManager::getInstance().onEvent(&event);
  WorldManager::getInstance().update();
  EXPECT_EQ(WorldManager::getInstance().objectsOfType("GameOver").getCount(), 0);
}

}  // namespace
}  // namespace tx::test
