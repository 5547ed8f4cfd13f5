#include "GameFixture.h"
#include "Platform.h"
#include "Player.h"
#include "Powerup.h"
#include "world/EventCollision.h"

namespace tx::test {
namespace {

class PowerupTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    startGame();
    player = first<Player>("Player");
    ASSERT_NE(player, nullptr);
  }
  Player* player = nullptr;
};

TEST_F(PowerupTest, KindsComeOutThirtyThirtyThirtyTen) {
  int kinds[5] = {};
  const int total = 2000;
  for (int i = 0; i < total; ++i) {
    auto* powerup = new Powerup(10.0f, -50.0f);
    ++kinds[powerup->getKind()];
    const char* sprites[] = {"", "powerup1", "powerup2", "powerup3", "powerup4"};
    EXPECT_EQ(powerup->getAnimation().getName(), sprites[powerup->getKind()]);
    EXPECT_EQ(powerup->getSolidness(), SOFT);
    WorldManager::getInstance().markForDelete(powerup);
  }
  step();
  for (int kind : {1, 2, 4}) {
    EXPECT_GT(kinds[kind], total * 25 / 100) << kind;
    EXPECT_LT(kinds[kind], total * 35 / 100) << kind;
  }
  EXPECT_GT(kinds[3], total * 6 / 100);
  EXPECT_LT(kinds[3], total * 14 / 100);
}

TEST_F(PowerupTest, WalkingIntoItGivesItsPower) {
  const Vector at = player->getPosition();
  const int before = countOfType("Powerup");
  auto* powerup = new Powerup(at.getX() + 2.0f, at.getY());
  const int kind = powerup->getKind();
  sendKey(KeyCode::D, KeyAction::HELD);
  EXPECT_TRUE(logHas("PLAYER PICKED UP POWERUP"));
  EXPECT_FALSE(powerup->isActive());
  EXPECT_EQ(player->getPowerupTimer(), 150);
  const char* names[] = {"", "Double Jump", "Slow Time", "Guardian Angel", "Low Gravity"};
  EXPECT_EQ(first<ViewObject>("PowerupDisplay")->getViewString(),
            std::string("Powerup: ") + names[kind]);
  step();
  EXPECT_EQ(countOfType("Powerup"), before);
}

TEST_F(PowerupTest, FallingOntoItPicksItUp) {
  player->setPosition(Vector(40.0f, 5.0f));
  new Powerup(40.0f, 8.0f);
  for (int i = 0; i < 10 && player->getPowerupTimer() == 0; ++i) step();
  EXPECT_TRUE(logHas("PLAYER PICKED UP POWERUP"));
  EXPECT_GT(player->getPowerupTimer(), 0);
  // The fall goes on through it.
  step(5);
  EXPECT_GT(player->getPosition().getY(), 7.0f);
}

TEST_F(PowerupTest, ScrollingOffTheBottomRemovesItWithoutEffect) {
  const int before = countOfType("Powerup");
  new Powerup(10.0f, 24.5f);
  step();
  EXPECT_EQ(countOfType("Powerup"), before);
  EXPECT_FALSE(logHas("PLAYER PICKED UP POWERUP"));
  EXPECT_EQ(player->getPowerupTimer(), 0);
}

TEST_F(PowerupTest, MeetingAPlatformDoesNothing) {
  auto* powerup = new Powerup(10.0f, 5.0f);
  auto* platform = first<Platform>("Platform");
  const EventCollision collision(platform, powerup, Vector(10.0f, 5.0f));
  EXPECT_EQ(powerup->eventHandler(&collision), 0);
  EXPECT_TRUE(powerup->isActive());
  EXPECT_FALSE(logHas("PLAYER PICKED UP POWERUP"));
}

TEST_F(PowerupTest, PickedUpWithNoPlayerStillLeaves) {
  auto* powerup = new Powerup(10.0f, 5.0f);
  WorldManager::getInstance().markForDelete(player);
  step();
  // A stand-in with the player's type touches it.
  Object* stand_in = new Object();
  stand_in->setType("Player");
  stand_in->setActive(false);
  const EventCollision collision(stand_in, powerup, Vector(10.0f, 5.0f));
  powerup->eventHandler(&collision);
  EXPECT_TRUE(logHas("PLAYER PICKED UP POWERUP"));
  EXPECT_FALSE(powerup->isActive());
}

}  // namespace
}  // namespace tx::test
