#include "Player.h"

#include "GameFixture.h"
#include "Powerup.h"

namespace tx::test {
namespace {

using PlayerTest = GameTest;

// It falls (looking as jumping) to rest within one fall step above the floor at row 12; a jump
// clears five rows and lands there again; in the air only double jump gives one more, once.
TEST_F(PlayerTest, FallsToTheFloorJumpsFiveCellsAndAgainInTheAirOnlyWithDoubleJump) {
  EXPECT_EQ(player->getPosition(), Vector(40.0f, 9.0f));
  step();
  EXPECT_EQ(player->getAnimation().getName(), "playerj");
  ASSERT_TRUE(stepUntilStanding());
  EXPECT_EQ(player->getAnimation().getName(), "player");
  const float standing_y = player->getPosition().getY();
  EXPECT_TRUE(standing_y > 9.0f && standing_y <= 10.0f) << standing_y;
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  EXPECT_EQ(player->getVelocity(), Vector(0.0f, -1.0f));
  EXPECT_TRUE(playing("jump"));
  step(3);
  const Vector velocity = player->getVelocity();
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  EXPECT_EQ(player->getVelocity(), velocity) << "second jump in the air";
  float highest = standing_y;
  for (int i = 0; i < 40; ++i, step()) highest = std::min(highest, player->getPosition().getY());
  EXPECT_LT(highest, standing_y - 5.0f);
  EXPECT_FLOAT_EQ(player->getPosition().getY(), standing_y);
  player->gainPowerup(Player::DOUBLE_JUMP);
  sendKey(KeyCode::W, KeyAction::PRESSED);
  step(4);
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  EXPECT_EQ(player->getVelocity(), Vector(0.0f, -1.0f));
  step(2);
  const Vector rising = player->getVelocity();
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  EXPECT_EQ(player->getVelocity(), rising) << "a third jump in the air";
  ASSERT_TRUE(stepUntilStanding());
  EXPECT_TRUE(player->isJumpReady());
}

// Held side keys (A and D, or Left and Right) move it 0.8 a step (presses do not); past an edge
// it comes in at the other. Up jumps as Space and W do.
TEST_F(PlayerTest, HeldSideKeysMoveAndWrapAroundTheEdges) {
  ASSERT_TRUE(stepUntilStanding());
  const float x = player->getPosition().getX(), y = player->getPosition().getY();
  for (KeyAction action : {KeyAction::PRESSED, KeyAction::HELD, KeyAction::HELD})
    sendKey(KeyCode::D, action);
  sendKey(KeyCode::A, KeyAction::HELD);
  sendKey(KeyCode::RIGHT_ARROW, KeyAction::HELD);
  sendKey(KeyCode::LEFT_ARROW, KeyAction::PRESSED);
  EXPECT_FLOAT_EQ(player->getPosition().getX(), x + 1.6f);
  sendKey(KeyCode::UP_ARROW, KeyAction::PRESSED);
  EXPECT_EQ(player->getVelocity(), Vector(0.0f, -1.0f));
  for (const auto& [from, side, to] : {std::tuple<float, KeyCode, float>{79.6f, KeyCode::D, 0.0f},
                                       {0.4f, KeyCode::A, 79.0f},
                                       {0.4f, KeyCode::LEFT_ARROW, 79.0f}}) {
    player->setPosition(Vector(from, y));
    sendKey(side, KeyAction::HELD);
    step();
    EXPECT_EQ(player->getPosition().getX(), to) << from;
  }
}

// On the view's bottom edge the player lives; below it the guardian angel lifts it by 25 rows,
// and without one it dies: the climb stops, its music too, the fall sounds.
TEST_F(PlayerTest, DiesBelowTheViewUnlessTheGuardianAngelLiftsIt) {
  player->setPosition(Vector(40.0f, 24.0f - 0.075f));
  step();
  ASSERT_EQ(countOfType("Player"), 1) << "on the edge";
  player->gainPowerup(Player::GUARDIAN_ANGEL);
  player->setPosition(Vector(40.0f, 30.0f)), player->setVelocity(Vector(0.0f, 0.0f));
  step();
  ASSERT_EQ(countOfType("Player"), 1);
  EXPECT_FLOAT_EQ(player->getPosition().getY(), 5.0f);
  player->resetPowerups();
  player->setPosition(Vector(40.0f, boundary().getCorner().getY() + 24.5f));
  step();
  EXPECT_EQ(countOfType("Player"), 0);
  EXPECT_EQ(difficulty->getClimbSpeed(), 0.0f);
  EXPECT_NE(difficulty->getMusic()->getMusic()->getStatus(), sf::SoundSource::Playing);
  EXPECT_TRUE(playing("fall"));
}

// The display names the power-up and counts down its whole seconds left (150 steps of 33 ms);
// at the 150th step it ends with "Powerup: None" and the "powerdown" sound.
TEST_F(PlayerTest, PickedUpPowerupCountsDownAndEndsAtTheHundredFiftiethStep) {
  const Vector at = player->getPosition();
  auto* powerup = new Powerup(at.getX() + 2.0f, at.getY());
  const int kind = powerup->getKind();
  sendKey(KeyCode::D, KeyAction::HELD);  // Onto the power-up, which is taken.
  const char* names[] = {"", "Double Jump", "Slow Time", "Guardian Angel", "Low Gravity"};
  auto* display = findSingle<ViewObject>("PowerupDisplay");
  EXPECT_EQ(display->getViewString(), std::string("Powerup: ") + names[kind]);
  EXPECT_TRUE(display->getDrawValue());
  for (const auto& [timer, seconds] : {std::pair{150, 5}, {149, 5}, {30, 1}, {1, 1}}) {
    step(player->getPowerupTimer() - timer);
    EXPECT_EQ(display->getValue(), seconds) << timer;
  }
  step();
  EXPECT_EQ(display->getViewString(), "Powerup: None");
  EXPECT_FALSE(display->getDrawValue());
  EXPECT_TRUE(playing("powerdown"));
}

// Slow time halves the climb once, however often it is picked up; its end brings back the speed
// of the level the climb is at then, whatever level it began at.
TEST_F(PlayerTest, SlowTimeHalvesTheClimbOnceAndEndsAtTheLevelsSpeed) {
  for (int i = 0; i < 2; ++i) player->gainPowerup(Player::SLOW_TIME);
  EXPECT_FLOAT_EQ(difficulty->getVelocity().getY(), -0.0375f);
  step(150);
  EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), 0.075f);
  player->gainPowerup(Player::SLOW_TIME);
  checkLevel(505);
  player->resetPowerups();
  EXPECT_FLOAT_EQ(difficulty->getVelocity().getY(), -0.15f);
}

}  // namespace
}  // namespace tx::test
