#include "Difficulty.h"

#include "GameFixture.h"
#include "LevelDisplay.h"
#include "Points.h"

namespace tx::test {
namespace {

using DifficultyTest = GameTest;

// The camera climbs from level 5 at its climb speed; the height shown never drops, and each
// threshold passed raises one level per check (500 exactly keeps it), with its speed and look.
TEST_F(DifficultyTest, HeightRaisesTheLevelOneThresholdAtATime) {
  step();
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, -0.075f));
  EXPECT_EQ(WorldManager::getInstance().getView(), boundary());
  const float speeds[] = {0.0f, 0.3f, 0.25f, 0.2f, 0.15f, 0.075f};
  // Hovering at y: the height shown, the level.
  const std::tuple<float, int, int> rows[] = {
      {-8.5f, 0, 5},       {-9.0f, 5, 5},       {-20.0f, 60, 5},    {-10.0f, 60, 5},
      {-108.0f, 500, 5},   {-109.0f, 505, 4},   {-208.0f, 1000, 4}, {-209.0f, 1005, 3},
      {-1000.0f, 4960, 2}, {-1001.0f, 4965, 1}, {-1002.0f, 4970, 1}};
  auto* points = first<Points>("ViewObject");
  auto* level_shown = first<LevelDisplay>("ViewObject");
  for (const auto& [y, height, level] : rows) {
    SCOPED_TRACE(y);
    player->setPosition(Vector(40.0f, y)), player->setVelocity(Vector(0.0f, 0.0f));
    step();
    EXPECT_EQ(points->getValue(), height);
    EXPECT_EQ(difficulty->getLevel(), level);
    EXPECT_EQ(level_shown->getValue(), 6 - level);
    EXPECT_FLOAT_EQ(difficulty->getVelocity().getY(), -speeds[level]);
    EXPECT_EQ(difficulty->getAnimation().getName(), "background" + std::to_string(6 - level));
  }
}

}  // namespace
}  // namespace tx::test
