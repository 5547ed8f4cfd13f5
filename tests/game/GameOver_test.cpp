#include "GameOver.h"

#include "GameFixture.h"
#include "Points.h"
#include "tolvex/display/Sprite.h"

namespace tx::test {
namespace {

using GameOverTest = GameTest;

// The screen lasts one run of its animation, the title inactive; then the game is gone (pauses
// stay), the camera and title music are back, and the best height outlives the game.
TEST_F(GameOverTest, LastsOneAnimationThenClearsTheGameAndReturnsToTheTitle) {
  player->setPosition(Vector(40.0f, -20.0f));
  step(30);
  EXPECT_EQ(bestHeight(), 60);
  player->setPosition(Vector(40.0f, boundary().getCorner().getY() + 30.0f));
  step();
  auto* screen = findSingle<GameOver>("GameOver");
  ASSERT_NE(screen, nullptr);
  const Sprite* sprite = screen->getAnimation().getSprite();
  const int steps = sprite->getFrameCount() * sprite->getSlowdown();
  step(steps - 1);
  EXPECT_EQ(countOfType("GameOver"), 1);
  EXPECT_FALSE(title->isActive());
  step();
  EXPECT_EQ(WorldManager::getInstance().getAllObjects(true).getCount(), 3);  // title and pauses
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, 0.0f));
  EXPECT_TRUE(title->isActive());
  EXPECT_EQ(title->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  title->start();
  findSingle<Player>("Player")->setPosition(Vector(40.0f, 30.0f));
  step();
  EXPECT_EQ(bestHeight(), 60);
}

}  // namespace
}  // namespace tx::test
