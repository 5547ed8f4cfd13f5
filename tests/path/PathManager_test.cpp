#include "path/PathManager.h"

#include "PathFixture.h"
#include "core/GameManager.h"

namespace tx::test {
namespace {

using PathManagerTest = PathTest;

TEST_F(PathManagerTest, StartUpBudgetAndSearchBookkeeping) {
  EXPECT_EQ(paths().getMinCycleTime(), GameManager::getInstance().getFrameTime() / 10);
  EXPECT_EQ(paths().startUp(), 0);
  EXPECT_TRUE(logHas("PathManager::startup(): already started."));
  Walker walker(cell(2, 2));
  PathFind search(&walker, cell(2, 2), cell(5, 5));
  EXPECT_EQ(paths().removePath(nullptr), -1);
  EXPECT_EQ(paths().removePath(&search), 0);
  EXPECT_EQ(paths().removePath(&search), -1);
  EXPECT_EQ(paths().addPath(&search), 0);
  EXPECT_EQ(paths().addPath(&search), -1);
  EXPECT_EQ(paths().getSearchCount(), 1);
}

TEST_F(PathManagerTest, ClosedRoomIsReportedOnceAsStatusZero) {
  for (int i = 0; i <= 4; ++i)
    for (Vector at : {cell(10 + i, 5), cell(10 + i, 9), cell(10, 5 + i), cell(14, 5 + i)}) wall(at);
  auto* walker = new Walker(cell(3, 3));
  ASSERT_EQ(walker->findPath(cell(12, 7)), 0);
  auto* deaf = new Walker(cell(2, 2));  // Takes the result and leaves its search alone.
  deaf->deaf = true;
  PathFind ignored(deaf, cell(2, 2), cell(12, 7));
  EXPECT_TRUE(cycleUntilIdle());
  EXPECT_EQ(walker->statuses, std::vector<int>{0});
  EXPECT_TRUE(walker->paths[0].getNodes().empty());
  EXPECT_EQ(walker->getPathFind(), nullptr);
  EXPECT_FALSE(walker->getFollowPath());
  EXPECT_EQ(deaf->statuses, std::vector<int>{0}) << "an ignored result is reported only once";
}

TEST_F(PathManagerTest, DeletedObjectLeavesNoSearchBehind) {
  auto* walker = new Walker(cell(2, 2));
  ASSERT_EQ(walker->findPath(cell(18, 13)), 0);
  auto* chaser = new Walker(cell(18, 2));
  ASSERT_EQ(chaser->findPath(walker), 0);
  WorldManager::getInstance().markForDelete(walker);
  WorldManager::getInstance().update();
  EXPECT_EQ(paths().getSearchCount(), 1);
  EXPECT_TRUE(cycleUntilIdle());
  EXPECT_EQ(chaser->statuses, std::vector<int>{2});
  EXPECT_EQ(chaser->getPath().getNodes().back(), cell(2, 2));
}

TEST_F(PathManagerTest, LongSearchIsSpreadOverFramesWhileObjectsMove) {
  setWorld(400, 200);
  for (int y = 0; y < 199; ++y) wall(cell(200, y));
  auto* mover = new Object;
  mover->setSolidness(SPECTRAL);
  mover->setPosition(cell(5, 150));
  mover->setVelocity(Vector(0.01f, 0.0f));
  auto* walker = new Walker(cell(10, 10));
  ASSERT_EQ(walker->findPath(cell(390, 10)), 0);
  int frames = 0;
  for (; paths().getSearchCount() > 0 && frames < 100000; ++frames) {
    WorldManager::getInstance().update();
    paths().cycle(0);
  }
  EXPECT_GT(frames, 1) << "a search over a large world takes many frames of the least budget";
  ASSERT_EQ(walker->statuses, std::vector<int>{2});
  EXPECT_EQ(walker->getPath().getNodes().back(), cell(390, 10));
  EXPECT_NEAR(mover->getPosition().getX(), 5.0f + 0.01f * static_cast<float>(frames), 0.05f);
}

TEST_F(PathManagerTest, NewSearchReplacesTheOldOneAndItsPathIsFollowedToTheEnd) {
  for (int i = 0; i <= 10; ++i) wall(cell(8, i));
  for (int x = 9; x <= 14; ++x) wall(cell(x, 10));
  auto* walker = new Walker(cell(3, 3));
  walker->setSpeed(0.5f);
  ASSERT_EQ(walker->findPath(cell(15, 12)), 0);
  ASSERT_EQ(walker->findPath(cell(12, 4)), 0);
  PathFind* running = walker->getPathFind();
  EXPECT_EQ(walker->findPath(cell(-3, 10)), -1);
  EXPECT_EQ(walker->findPath(nullptr), -1);
  EXPECT_EQ(walker->findPath(walker), -1);
  EXPECT_TRUE(logHas("Object::findPath(): Error! no other object to reach."));
  EXPECT_EQ(walker->getPathFind(), running) << "a bad goal keeps the running search";
  for (int frame = 0; frame < 2000 && walker->getPosition() != cell(12, 4); ++frame) {
    WorldManager::getInstance().update();
    paths().cycle(1);
  }
  EXPECT_EQ(walker->statuses, std::vector<int>{2});
  EXPECT_EQ(walker->getPosition(), cell(12, 4));
  EXPECT_FALSE(walker->getFollowPath());
  EXPECT_EQ(walker->getDirection(), Vector());
  EXPECT_EQ(walker->collisions, 0);
}

}  // namespace
}  // namespace tx::test
