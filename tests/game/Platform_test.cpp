#include "Platform.h"

#include "GameFixture.h"

namespace tx::test {
namespace {

using PlatformTest = GameTest;

// Solid only when more than 2 cells below the player; once below the view, recycled to a free
// whole column of the top row with the current level's look.
TEST_F(PlatformTest, SolidWellBelowThePlayerAndRecycledToAFreeColumnAtTheTop) {
  auto* platform = first<Platform>("Platform");
  EXPECT_EQ(platform->getAnimation().getName(), "platform5");
  ASSERT_TRUE(stepUntilStanding());
  for (const auto& [below, solidness] : {std::pair{2.01f, HARD}, {2.0f, SPECTRAL}}) {
    platform->setPosition(Vector(5.0f, player->getPosition().getY() + below));
    step();
    EXPECT_EQ(platform->getSolidness(), solidness) << below << " cells below";
  }
  for (int i = 0; i < 150; ++i) {
    platform->setPosition(Vector(40.0f, boundary().getCorner().getY() + 30.0f));
    step();
    const Vector at = platform->getPosition();
    EXPECT_EQ(at.getY(), static_cast<float>(static_cast<int>(boundary().getCorner().getY())));
    EXPECT_TRUE(at.getX() >= 2.0f && at.getX() <= 79.0f) << at.getX();
    EXPECT_EQ(at.getX(), static_cast<float>(static_cast<int>(at.getX())));
    // Nothing solid there but, now and then, the power-up it brought along one cell above.
    ObjectList there = WorldManager::getInstance().getCollisions(platform, at);
    for (ObjectListIterator it(&there); !it.isDone(); it.next())
      EXPECT_EQ(it.currentObject()->getPosition(), Vector(at.getX(), at.getY() - 1.0f));
  }
  difficulty->setLevel(1);
  platform->respawn(0);
  EXPECT_EQ(platform->getAnimation().getName(), "platform1");
}

// A top row solid from end to end: the search for a free column gives up with a warning.
TEST_F(PlatformTest, CrowdedRowEndsTheSearchWithAWarning) {
  Object* wall = new Object();
  wall->setBox(Box(Vector(-60.0f, -0.5f), 120.0f, 1.0f));
  wall->setPosition(Vector(40.0f, 0.0f));
  auto* platform = first<Platform>("Platform");
  platform->respawn(0);
  const int x = static_cast<int>(platform->getPosition().getX());
  EXPECT_TRUE(x >= 2 && x <= 79) << x;
  EXPECT_TRUE(logHas("Platform::respawn(): Warning! No free column after 100 tries, using column " +
                     std::to_string(x) + "."));
}

}  // namespace
}  // namespace tx::test
