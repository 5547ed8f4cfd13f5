#include "GameFixture.h"
#include "Platform.h"
#include "Player.h"

namespace tx::test {
namespace {

class PlatformTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    startGame();
    player = first<Player>("Player");
    ASSERT_NE(player, nullptr);
  }
  Player* player = nullptr;
};

TEST_F(PlatformTest, SolidOnlyMoreThanTwoCellsBelowThePlayer) {
  step();
  const float player_y = player->getPosition().getY();
  ObjectList all = WorldManager::getInstance().getAllObjects(true);
  int checked = 0;
  for (ObjectListIterator it(&all); !it.isDone(); it.next()) {
    auto* platform = dynamic_cast<Platform*>(it.currentObject());
    if (platform == nullptr) continue;
    ++checked;
    const bool below = platform->getPosition().getY() > player_y + 2.0f;
    EXPECT_EQ(platform->getSolidness(), below ? HARD : SPECTRAL) << platform->getPosition().getY();
  }
  EXPECT_EQ(checked, 30);
  // Exactly 2 cells below is not yet solid.
  auto* platform = first<Platform>("Platform");
  platform->setPosition(Vector(5.0f, player->getPosition().getY() + 2.0f));
  step();
  EXPECT_EQ(platform->getSolidness(), SPECTRAL);
}

TEST_F(PlatformTest, RecycledToAFreeColumnAtTheTop) {
  auto* platform = first<Platform>("Platform");
  ASSERT_NE(platform, nullptr);
  for (int i = 0; i < 150; ++i) {
    platform->setPosition(Vector(40.0f, boundary().getCorner().getY() + 30.0f));
    step();
    const Vector at = platform->getPosition();
    EXPECT_EQ(at.getY(), static_cast<float>(static_cast<int>(boundary().getCorner().getY())));
    EXPECT_GE(at.getX(), 2.0f);
    EXPECT_LE(at.getX(), 79.0f);
    EXPECT_EQ(at.getX(), static_cast<float>(static_cast<int>(at.getX())));
    // Nothing solid there but, now and then, the power-up it brought along.
    ObjectList there = WorldManager::getInstance().getCollisions(platform, at);
    for (ObjectListIterator it(&there); !it.isDone(); it.next()) {
      EXPECT_EQ(it.currentObject()->getType(), "Powerup");
      EXPECT_EQ(it.currentObject()->getPosition(), Vector(at.getX(), at.getY() - 1.0f));
    }
  }
}

TEST_F(PlatformTest, CrowdedRowEndsTheSearchWithAWarning) {
  // A solid wall across the whole top row leaves no free column.
  Object* wall = new Object();
  wall->setBox(Box(Vector(-60.0f, -0.5f), 120.0f, 1.0f));
  wall->setPosition(Vector(40.0f, 0.0f));
  auto* platform = first<Platform>("Platform");
  platform->respawn(0);
  EXPECT_EQ(platform->getPosition().getY(), 0.0f);
  const float x = platform->getPosition().getX();
  EXPECT_GE(x, 2.0f);
  EXPECT_LE(x, 79.0f);
  char expected[128];
  std::snprintf(expected, sizeof expected,
                "Platform::respawn(): Warning! No free column after 100 tries, using column %d.",
                static_cast<int>(x));
  EXPECT_TRUE(logHas(expected));
}

TEST_F(PlatformTest, SometimesCarriesAPowerupOneCellAbove) {
  auto* platform = first<Platform>("Platform");
  const int before = countOfType("Powerup");
  int tries = 0;
  while (countOfType("Powerup") == before && tries < 1000) {
    platform->respawn(0);
    ++tries;
  }
  ASSERT_EQ(countOfType("Powerup"), before + 1);
  // About 3 in 100.
  EXPECT_GT(tries, 1);
  const Vector above(platform->getPosition().getX(), platform->getPosition().getY() - 1.0f);
  int found = 0;
  ObjectList powerups = WorldManager::getInstance().objectsOfType("Powerup");
  for (ObjectListIterator it(&powerups); !it.isDone(); it.next()) {
    found += it.currentObject()->getPosition() == above;
  }
  EXPECT_EQ(found, 1);
}

TEST_F(PlatformTest, TwoPlatformsMeetingMoveOneToTheTop) {
  ObjectList platforms = WorldManager::getInstance().objectsOfType("Platform");
  ObjectListIterator it(&platforms);
  auto* a = dynamic_cast<Platform*>(it.currentObject());
  it.next();
  auto* b = dynamic_cast<Platform*>(it.currentObject());
  a->setPosition(Vector(20.0f, 15.0f));
  b->setPosition(Vector(60.0f, 15.0f));
  WorldManager::getInstance().moveObject(a, Vector(59.0f, 15.0f));
  EXPECT_TRUE(logHas("COLLIDED"));
  EXPECT_EQ(b->getPosition().getY(), 0.0f);
}

TEST_F(PlatformTest, FloorLeavesOnceBelowTheViewForGood) {
  int gone_at = -1;
  for (int i = 0; i < 200 && gone_at < 0; ++i) {
    const float bottom = boundary().getCorner().getY() + boundary().getVertical();
    step();
    if (countOfType("Floor") == 0) {
      gone_at = i;
      EXPECT_GT(12.0f, bottom);
    } else {
      EXPECT_LE(12.0f, bottom);
    }
  }
  EXPECT_GT(gone_at, 150);
  step(20);
  EXPECT_EQ(countOfType("Floor"), 0);
}

}  // namespace
}  // namespace tx::test
