#include "Difficulty.h"
#include "GameFixture.h"
#include "Player.h"
#include "display/ResourceManager.h"

namespace tx::test {
namespace {

class PlayerTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    startGame();
    player = first<Player>("Player");
    ASSERT_NE(player, nullptr);
  }

  // Steps until the player stands again; false after 60 steps in the air.
  bool stepUntilStanding() {
    for (int i = 0; i < 60; ++i) {
      step();
      if (!player->isInAir()) return true;
    }
    return false;
  }

  std::string powerupText() { return first<ViewObject>("PowerupDisplay")->getViewString(); }

  Player* player = nullptr;
};

TEST_F(PlayerTest, StartsAboveTheFloorFallsAndLands) {
  EXPECT_EQ(player->getPosition(), Vector(40.0f, 9.0f));
  EXPECT_EQ(player->getAltitude(), 3);
  EXPECT_EQ(player->getSolidness(), HARD);
  EXPECT_TRUE(logHas("RESET"));
  step();
  EXPECT_TRUE(player->isInAir());
  EXPECT_EQ(player->getAnimation().getName(), "playerj");
  ASSERT_TRUE(stepUntilStanding());
  EXPECT_EQ(player->getAnimation().getName(), "player");
  EXPECT_EQ(player->getAcceleration(), Vector(0.0f, 0.0f));
  const float standing_y = player->getPosition().getY();
  // Resting on the floor (y 12): feet within one fall step above it, never inside it.
  EXPECT_GT(standing_y, 9.0f);
  EXPECT_LE(standing_y + 1.5f, 11.5f);
  step(10);
  EXPECT_FALSE(player->isInAir());
  EXPECT_EQ(player->getPosition().getY(), standing_y);
}

TEST_F(PlayerTest, JumpRisesFiveCellsAndComesBackDown) {
  ASSERT_TRUE(stepUntilStanding());
  const float standing_y = player->getPosition().getY();
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  EXPECT_TRUE(player->isInAir());
  EXPECT_EQ(player->getVelocity(), Vector(0.0f, -1.0f));
  EXPECT_TRUE(logHas("0"));
  EXPECT_EQ(ResourceManager::getInstance().getSound("jump")->getSound()->getStatus(),
            sf::SoundSource::Playing);
  float highest = standing_y;
  for (int i = 0; i < 40; ++i) {
    step();
    highest = std::min(highest, player->getPosition().getY());
  }
  // Enough to clear the five rows between ledges.
  EXPECT_LT(highest, standing_y - 5.0f);
  EXPECT_FALSE(player->isInAir());
  EXPECT_NEAR(player->getPosition().getY(), standing_y, 1.0f);
  sendKey(KeyCode::W, KeyAction::PRESSED);
  EXPECT_TRUE(player->isInAir());
}

TEST_F(PlayerTest, NoSecondJumpInTheAirWithoutThePowerup) {
  ASSERT_TRUE(stepUntilStanding());
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  step(3);
  const Vector velocity = player->getVelocity();
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  sendKey(KeyCode::SPACE, KeyAction::HELD);
  EXPECT_EQ(player->getVelocity(), velocity);
  EXPECT_EQ(logCount("0"), 2);
}

TEST_F(PlayerTest, DoubleJumpOncePerLanding) {
  ASSERT_TRUE(stepUntilStanding());
  player->gainPowerup(Player::DOUBLE_JUMP);
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  step(4);
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  EXPECT_EQ(player->getVelocity(), Vector(0.0f, -1.0f));
  EXPECT_FALSE(player->isJumpReady());
  step(2);
  const Vector velocity = player->getVelocity();
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  EXPECT_EQ(player->getVelocity(), velocity);
  EXPECT_EQ(logCount("1"), 3);
  ASSERT_TRUE(stepUntilStanding());
  EXPECT_TRUE(player->isJumpReady());
}

TEST_F(PlayerTest, HeldSideKeysMoveAndPressesDoNot) {
  ASSERT_TRUE(stepUntilStanding());
  const float x = player->getPosition().getX();
  sendKey(KeyCode::D, KeyAction::PRESSED);
  sendKey(KeyCode::D, KeyAction::RELEASED);
  EXPECT_EQ(player->getPosition().getX(), x);
  sendKey(KeyCode::D, KeyAction::HELD);
  sendKey(KeyCode::D, KeyAction::HELD);
  EXPECT_FLOAT_EQ(player->getPosition().getX(), x + 1.6f);
  sendKey(KeyCode::A, KeyAction::HELD);
  EXPECT_FLOAT_EQ(player->getPosition().getX(), x + 0.8f);
  sendKey(KeyCode::A, KeyAction::PRESSED);
  EXPECT_FLOAT_EQ(player->getPosition().getX(), x + 0.8f);
}

TEST_F(PlayerTest, WrapsAroundTheLeftAndRightEdges) {
  ASSERT_TRUE(stepUntilStanding());
  const float y = player->getPosition().getY();
  player->setPosition(Vector(79.6f, y));
  sendKey(KeyCode::D, KeyAction::HELD);
  step();
  EXPECT_EQ(player->getPosition().getX(), 0.0f);
  player->setPosition(Vector(0.4f, y));
  sendKey(KeyCode::A, KeyAction::HELD);
  step();
  EXPECT_EQ(player->getPosition().getX(), 79.0f);
  player->setPosition(Vector(80.0f, y));
  step();
  EXPECT_EQ(player->getPosition().getX(), 80.0f);
}

TEST_F(PlayerTest, DiesBelowTheViewAndStopsTheClimb) {
  step(5);
  auto* difficulty = first<Difficulty>("Difficulty");
  ASSERT_NE(difficulty, nullptr);
  player->setPosition(Vector(40.0f, boundary().getCorner().getY() + 24.5f));
  step();
  EXPECT_EQ(countOfType("Player"), 0);
  EXPECT_TRUE(logHas("Player Dead."));
  EXPECT_EQ(difficulty->getClimbSpeed(), 0.0f);
  EXPECT_EQ(difficulty->getVelocity(), Vector(0.0f, 0.0f));
  EXPECT_NE(difficulty->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  EXPECT_EQ(ResourceManager::getInstance().getSound("fall")->getSound()->getStatus(),
            sf::SoundSource::Playing);
  EXPECT_EQ(countOfType("GameOver"), 1);
  // The camera is back at the origin and stays there.
  step(3);
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, 0.0f));
  EXPECT_EQ(WorldManager::getInstance().getView().getCorner(), Vector(0.0f, 0.0f));
}

TEST_F(PlayerTest, OnTheViewsBottomEdgeIsStillAlive) {
  player->setPosition(Vector(40.0f, 24.0f - 0.075f));
  step();
  EXPECT_EQ(countOfType("Player"), 1);
}

TEST_F(PlayerTest, GuardianAngelLiftsInsteadOfDying) {
  player->gainPowerup(Player::GUARDIAN_ANGEL);
  EXPECT_TRUE(logHas("Got guardian angel"));
  EXPECT_EQ(powerupText(), "Powerup: Guardian Angel");
  player->setPosition(Vector(40.0f, 30.0f));
  step();
  EXPECT_EQ(countOfType("Player"), 1);
  EXPECT_FLOAT_EQ(player->getPosition().getY(), 5.0f);
  EXPECT_TRUE(player->hasGuardianAngel());
  EXPECT_FALSE(logHas("Player Dead."));
}

TEST_F(PlayerTest, PowerupEndsAtTheHundredFiftiethStep) {
  player->gainPowerup(Player::DOUBLE_JUMP);
  EXPECT_TRUE(logHas("Got double jump"));
  EXPECT_EQ(powerupText(), "Powerup: Double Jump");
  const int resets = logCount("RESET");
  step(149);
  EXPECT_TRUE(player->hasDoubleJump());
  EXPECT_EQ(player->getPowerupTimer(), 1);
  EXPECT_EQ(logCount("RESET"), resets);
  step();
  EXPECT_FALSE(player->hasDoubleJump());
  EXPECT_EQ(logCount("RESET"), resets + 1);
  EXPECT_EQ(powerupText(), "Powerup: None");
}

TEST_F(PlayerTest, SlowTimeTwiceHalvesTheClimbOnce) {
  auto* difficulty = first<Difficulty>("Difficulty");
  ASSERT_NE(difficulty, nullptr);
  player->gainPowerup(Player::SLOW_TIME);
  EXPECT_TRUE(logHas("Got slow down time"));
  EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), 0.0375f);
  player->gainPowerup(Player::SLOW_TIME);
  EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), 0.0375f);
  EXPECT_FLOAT_EQ(difficulty->getVelocity().getY(), -0.0375f);
  EXPECT_EQ(powerupText(), "Powerup: Slow Time");
  player->resetPowerups();
  EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), 0.075f);
  EXPECT_FALSE(player->hasSlowTime());
}

TEST_F(PlayerTest, LowGravityCapsTheFall) {
  ASSERT_TRUE(stepUntilStanding());
  player->gainPowerup(Player::LOW_GRAVITY);
  EXPECT_TRUE(logHas("Got low grav"));
  EXPECT_EQ(powerupText(), "Powerup: Low Gravity");
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  float fastest = 0.0f;
  float y = player->getPosition().getY();
  for (int i = 0; i < 60; ++i) {
    step();
    fastest = std::max(fastest, player->getPosition().getY() - y);
    y = player->getPosition().getY();
  }
  EXPECT_GT(fastest, 0.0f);
  EXPECT_LE(fastest, 0.2f + 1e-5f);
}

TEST_F(PlayerTest, UnknownPowerupKindOnlyRunsTheTimer) {
  player->gainPowerup(7);
  EXPECT_EQ(player->getPowerupTimer(), 150);
  EXPECT_EQ(powerupText(), "Powerup: None");
  EXPECT_FALSE(player->hasDoubleJump() || player->hasSlowTime() || player->hasGuardianAngel() ||
               player->hasLowGravity());
}

}  // namespace
}  // namespace tx::test
