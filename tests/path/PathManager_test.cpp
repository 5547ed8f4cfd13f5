#include "path/PathManager.h"

#include "PathFixture.h"
#include "core/GameManager.h"

namespace tx::test {
namespace {

using PathManagerTest = PathTest;

// Takes the result and does nothing with it: its search stays with it.
class Deaf : public Object {
 public:
  int eventHandler(const Event* event) override {
    if (event->getType() == PATH_EVENT) ++reports;
    return 0;
  }
  int reports = 0;
};

TEST_F(PathManagerTest, StartUpTakesATenthOfTheFrameTimeAndWarnsWhenRepeated) {
  EXPECT_EQ(paths().getType(), "PathManager");
  EXPECT_EQ(paths().getMinCycleTime(), GameManager::getInstance().getFrameTime() / 10);
  EXPECT_EQ(paths().startUp(), 0);
  EXPECT_TRUE(logHas("PathManager::startup(): already started."));
}

TEST_F(PathManagerTest, CycleWithoutSearchesLogsNothing) {
  const size_t before = logMessages().size();
  paths().cycle(30);
  paths().cycle(-5);
  EXPECT_EQ(logMessages().size(), before);
}

TEST_F(PathManagerTest, RemovePathRefusesNullAndUnknownSearches) {
  Walker walker(cell(2, 2));
  PathFind search(&walker, cell(2, 2), cell(5, 5));
  EXPECT_EQ(paths().getSearchCount(), 1);
  EXPECT_EQ(paths().removePath(nullptr), -1);
  EXPECT_EQ(paths().removePath(&search), 0);
  EXPECT_EQ(paths().removePath(&search), -1);
  EXPECT_EQ(paths().getSearchCount(), 0);
  EXPECT_EQ(paths().addPath(&search), 0);
  EXPECT_EQ(paths().addPath(&search), -1);
  EXPECT_EQ(paths().getSearchCount(), 1);
}

TEST_F(PathManagerTest, FoundPathIsReportedOnceAndTheSearchDeleted) {
  auto* walker = new Walker(cell(2, 2));
  ASSERT_EQ(walker->findPath(cell(6, 4)), 0);
  ASSERT_NE(walker->getPathFind(), nullptr);
  EXPECT_GT(cycleUntilIdle(), 0);
  ASSERT_EQ(walker->statuses, std::vector<int>{2});
  EXPECT_EQ(walker->getPathFind(), nullptr);
  EXPECT_EQ(walker->getPath().getNodes().back(), cell(6, 4));
  EXPECT_TRUE(walker->getFollowPath());
}

TEST_F(PathManagerTest, NoPathIsReportedAsStatusZero) {
  for (int x = 0; x < 20; ++x) wall(x, 8);
  auto* walker = new Walker(cell(3, 3));
  ASSERT_EQ(walker->findPath(cell(3, 12)), 0);
  EXPECT_GT(cycleUntilIdle(), 0);
  EXPECT_EQ(walker->statuses, std::vector<int>{0});
  EXPECT_TRUE(walker->paths[0].getNodes().empty());
  EXPECT_EQ(walker->getPathFind(), nullptr);
  EXPECT_FALSE(walker->getFollowPath());
}

TEST_F(PathManagerTest, SearchWhoseObjectIgnoresTheResultReportsOnlyOnce) {
  auto* deaf = new Deaf;
  deaf->setPosition(cell(2, 2));
  PathFind search(deaf, cell(2, 2), cell(4, 2));
  EXPECT_GT(cycleUntilIdle(), 0);
  paths().cycle(2);
  EXPECT_EQ(deaf->reports, 1);
  EXPECT_EQ(paths().getSearchCount(), 0);
}

TEST_F(PathManagerTest, NewSearchReplacesAndDeletesTheRunningOne) {
  auto* walker = new Walker(cell(2, 2));
  ASSERT_EQ(walker->findPath(cell(15, 12)), 0);
  const PathFind* first = walker->getPathFind();
  ASSERT_EQ(walker->findPath(cell(3, 12)), 0);
  EXPECT_NE(walker->getPathFind(), nullptr);
  EXPECT_EQ(paths().getSearchCount(), 1);
  EXPECT_GT(cycleUntilIdle(), 0);
  ASSERT_EQ(walker->statuses.size(), 1u);
  EXPECT_EQ(walker->getPath().getNodes().back(), cell(3, 12));
  (void)first;
}

TEST_F(PathManagerTest, GoalOutsideTheWorldKeepsTheRunningSearch) {
  auto* walker = new Walker(cell(2, 2));
  ASSERT_EQ(walker->findPath(cell(10, 10)), 0);
  PathFind* running = walker->getPathFind();
  EXPECT_EQ(walker->findPath(cell(-3, 10)), -1);
  EXPECT_EQ(walker->getPathFind(), running);
  EXPECT_EQ(paths().getSearchCount(), 1);
  EXPECT_EQ(walker->findPath(nullptr), -1);
  EXPECT_EQ(walker->findPath(walker), -1);
  EXPECT_TRUE(logHas("Object::findPath(): Error! no other object to reach."));
}

TEST_F(PathManagerTest, DeletedObjectLeavesNoSearchBehind) {
  auto* walker = new Walker(cell(2, 2));
  ASSERT_EQ(walker->findPath(cell(18, 13)), 0);
  auto* chaser = new Walker(cell(18, 2));
  ASSERT_EQ(chaser->findPath(walker), 0);
  WorldManager::getInstance().markForDelete(walker);
  WorldManager::getInstance().update();
  EXPECT_EQ(paths().getSearchCount(), 1);
  EXPECT_GT(cycleUntilIdle(), 0);
  EXPECT_EQ(chaser->statuses, std::vector<int>{2});
  EXPECT_EQ(chaser->getPath().getNodes().back(), cell(2, 2));
}

TEST_F(PathManagerTest, ObjectChasingAnotherStopsWhereTheyWouldTouch) {
  auto* prey = new Object;
  prey->setPosition(cell(15, 7));
  auto* chaser = new Walker(cell(3, 7));
  ASSERT_EQ(chaser->findPath(prey), 0);
  EXPECT_GT(cycleUntilIdle(), 0);
  ASSERT_EQ(chaser->statuses, std::vector<int>{2});
  // Default boxes (0.99 wide) do not touch from neighbouring cells, so the path ends on its cell.
  EXPECT_EQ(chaser->getPath().getNodes().back(), cell(15, 7));
}

// A search over a large world takes many frames of the smallest budget; the world goes on
// moving between them.
TEST_F(PathManagerTest, LongSearchIsSpreadOverFramesWhileObjectsMove) {
  setWorld(400, 200);
  for (int y = 0; y < 199; ++y) wall(200, y);
  auto* mover = new Object;
  mover->setSolidness(SPECTRAL);
  mover->setPosition(cell(5, 150));
  mover->setVelocity(Vector(0.01f, 0.0f));
  auto* walker = new Walker(cell(10, 10));
  ASSERT_EQ(walker->findPath(cell(390, 10)), 0);
  int frames = 0;
  while (paths().getSearchCount() > 0 && frames < 100000) {
    WorldManager::getInstance().update();
    paths().cycle(0);
    ++frames;
    if (frames == 1) {
      EXPECT_TRUE(walker->statuses.empty());
    }
  }
  EXPECT_GT(frames, 1);
  ASSERT_EQ(walker->statuses, std::vector<int>{2});
  EXPECT_EQ(walker->getPath().getNodes().back(), cell(390, 10));
  EXPECT_NEAR(mover->getPosition().getX(), 5.0f + 0.01f * static_cast<float>(frames), 0.05f);
}

TEST_F(PathManagerTest, ObjectFollowsTheFoundPathToTheEndWithoutBumping) {
  for (int y = 0; y <= 10; ++y) wall(8, y);
  for (int x = 8; x <= 14; ++x) wall(x, 10);
  auto* walker = new Walker(cell(3, 3));
  walker->setSpeed(0.5f);
  ASSERT_EQ(walker->findPath(cell(12, 4)), 0);
  for (int frame = 0; frame < 2000 && walker->getPosition() != cell(12, 4); ++frame) {
    WorldManager::getInstance().update();
    paths().cycle(1);
  }
  EXPECT_EQ(walker->getPosition(), cell(12, 4));
  EXPECT_FALSE(walker->getFollowPath());
  EXPECT_EQ(walker->getDirection(), Vector());
  EXPECT_EQ(walker->collisions, 0);
}

}  // namespace
}  // namespace tx::test
