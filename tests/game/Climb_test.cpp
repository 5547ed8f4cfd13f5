#include "GameFixture.h"
#include "LevelDisplay.h"
#include "Platform.h"
#include "Points.h"

namespace tx::test {
namespace {

// A game under way: the camera climbs, the platforms recycle, the level rises with the height.
class ClimbTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    startGame();
    ASSERT_TRUE(player && difficulty);
  }
};

TEST_F(ClimbTest, CameraClimbsFromLevelFiveAndTheFloorLeavesOnceBelowTheView) {
  EXPECT_EQ(difficulty->getLevel(), 5);
  EXPECT_EQ(difficulty->getAnimation().getName(), "background1");
  step();
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, -0.075f));
  EXPECT_EQ(WorldManager::getInstance().getView(), boundary());
  EXPECT_FLOAT_EQ(difficulty->getPosition().getY() - boundary().getCorner().getY(), 12.0f);
  int gone_at = -1;
  for (int i = 0; i < 200 && gone_at < 0; ++i) {
    const float bottom = boundary().getCorner().getY() + boundary().getVertical();
    step();
    if (countOfType("Floor") == 0) gone_at = i;
    EXPECT_EQ(countOfType("Floor") == 0, bottom < 12.0f) << i;
  }
  EXPECT_GT(gone_at, 150);
  step(20);
  EXPECT_EQ(countOfType("Floor"), 0);
}

TEST_F(ClimbTest, HeightNeverDropsAndEachThresholdPassedRaisesOneLevel) {
  const float speeds[] = {0.0f, 0.3f, 0.25f, 0.2f, 0.15f, 0.075f};
  // 500 exactly keeps the level; one level per check, however high the player is.
  const struct {
    float y;
    int height, level;
  } rows[] = {{-8.5f, 0, 5},       {-9.0f, 5, 5},       {-20.0f, 60, 5},    {-10.0f, 60, 5},
              {-108.0f, 500, 5},   {-109.0f, 505, 4},   {-208.0f, 1000, 4}, {-209.0f, 1005, 3},
              {-1000.0f, 4960, 2}, {-1001.0f, 4965, 1}, {-1002.0f, 4970, 1}};
  auto* points = first<Points>("ViewObject");
  auto* level_shown = first<LevelDisplay>("ViewObject");
  for (const auto& row : rows) {
    player->setPosition(Vector(40.0f, row.y));  // hovering there for one step
    player->setVelocity(Vector(0.0f, 0.0f));
    step();
    EXPECT_EQ(points->getValue(), row.height) << row.y;
    EXPECT_EQ(difficulty->getLevel(), row.level) << row.y;
    EXPECT_EQ(level_shown->getValue(), 6 - row.level) << row.y;
    EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), speeds[row.level]) << row.y;
    EXPECT_FLOAT_EQ(difficulty->getVelocity().getY(), -speeds[row.level]) << row.y;
    EXPECT_EQ(difficulty->getAnimation().getName(), "background" + std::to_string(6 - row.level));
  }
  EXPECT_EQ(logCount("Checking!"), 2);
  EXPECT_EQ(logCount("Yup"), 1);
  auto* platform = first<Platform>("Platform");
  EXPECT_EQ(platform->getAnimation().getName(), "platform5");
  platform->respawn(0);
  EXPECT_EQ(platform->getAnimation().getName(), "platform1") << "new look when recycled";
  EXPECT_TRUE(logHas("CHANGING PLAT SPRITE"));
}

TEST_F(ClimbTest, RecycledToAFreeColumnAtTheTopSolidOnlyWellBelowThePlayer) {
  auto* platform = first<Platform>("Platform");
  step();
  // Solid only when more than 2 cells below the player.
  const float player_y = player->getPosition().getY();
  ObjectList all = WorldManager::getInstance().objectsOfType("Platform");
  for (ObjectListIterator it(&all); !it.isDone(); it.next()) {
    const float y = it.currentObject()->getPosition().getY();
    EXPECT_EQ(it.currentObject()->getSolidness(), y > player_y + 2.0f ? HARD : SPECTRAL) << y;
  }
  platform->setPosition(Vector(5.0f, player->getPosition().getY() + 2.0f));
  step();
  EXPECT_EQ(platform->getSolidness(), SPECTRAL) << "exactly 2 cells below";
  for (int i = 0; i < 150; ++i) {
    platform->setPosition(Vector(40.0f, boundary().getCorner().getY() + 30.0f));
    step();
    const Vector at = platform->getPosition();
    EXPECT_EQ(at.getY(), static_cast<float>(static_cast<int>(boundary().getCorner().getY())));
    EXPECT_GE(at.getX(), 2.0f);
    EXPECT_LE(at.getX(), 79.0f);
    EXPECT_EQ(at.getX(), static_cast<float>(static_cast<int>(at.getX())));
    // Nothing solid there but, now and then, the power-up it brought along one cell above.
    ObjectList there = WorldManager::getInstance().getCollisions(platform, at);
    for (ObjectListIterator it(&there); !it.isDone(); it.next()) {
      EXPECT_EQ(it.currentObject()->getType(), "Powerup");
      EXPECT_EQ(it.currentObject()->getPosition(), Vector(at.getX(), at.getY() - 1.0f));
    }
  }
}

TEST_F(ClimbTest, CrowdedRowEndsTheSearchWithAWarning) {
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
  const std::string expected =
      "Platform::respawn(): Warning! No free column after 100 tries, using column " +
      std::to_string(static_cast<int>(x)) + ".";
  EXPECT_TRUE(logHas(expected));
}

}  // namespace
}  // namespace tx::test
