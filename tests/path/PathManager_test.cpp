#include "tolvex/path/PathManager.h"

#include "PathFixture.h"

namespace tx::test {
namespace {

using PathManagerTest = PathTest;

// A search whose object ignores the result is reported once and leaves the list all the same.
TEST_F(PathManagerTest, IgnoredSearchIsRemovedAfterReporting) {
  auto* deaf = new Listener;  // counts what it hears and handles none of it as an object would
  PathFind ignored(deaf, cell(2, 2), cell(2, 2));  // found at its first step, a path of one cell
  paths().cycle(0);
  EXPECT_EQ(paths().getSearchCount(), 0);
  EXPECT_EQ(deaf->count, 1);
  EXPECT_EQ(ignored.getPath().getNodes(), std::vector<Vector>{cell(2, 2)});
}

TEST_F(PathManagerTest, ClosedRoomIsReportedAsStatusZeroAndTheSearchDropped) {
  for (int i = 0; i <= 4; ++i)
    for (Vector at : {cell(10 + i, 5), cell(10 + i, 9), cell(10, 5 + i), cell(14, 5 + i)})
      new Probe(at);
  auto* walker = new Walker(cell(3, 3));
  ASSERT_EQ(walker->findPath(cell(12, 7)), 0);
  paths().cycleSteps(1000);  // more than the cells outside the room
  EXPECT_EQ(walker->statuses, std::vector<int>{0});
  EXPECT_EQ(walker->getPathFind(), nullptr);
  EXPECT_FALSE(walker->getFollowPath());
}

// A deleted walker's searches leave the list and fail at their next step; its pursuers go on.
TEST_F(PathManagerTest, DeletedObjectLeavesNoSearchBehind) {
  auto* walker = new Walker(cell(2, 2));
  ASSERT_EQ(walker->findPath(cell(18, 13)), 0);
  ASSERT_EQ((new Probe(cell(18, 2)))->findPath(walker), 0);
  PathFind outliving(walker, cell(2, 2), cell(18, 13));
  EXPECT_EQ(outliving.cycleOnce(), 1);
  world().markForDelete(walker);
  world().update();
  EXPECT_EQ(paths().getSearchCount(), 1);
  EXPECT_EQ(outliving.cycleOnce(), 0);
}

TEST_F(PathManagerTest, NewSearchReplacesTheOldOneAndItsPathIsFollowedToTheEnd) {
  for (int i = 0; i <= 10; ++i) new Probe(cell(8, i));
  for (int x = 9; x <= 14; ++x) new Probe(cell(x, 10));
  auto* walker = new Walker(cell(3, 3));
  walker->setSpeed(0.5f);
  ASSERT_EQ(walker->findPath(cell(15, 12)), 0);
  ASSERT_EQ(walker->findPath(cell(12, 4)), 0);
  PathFind* running = walker->getPathFind();
  EXPECT_EQ(walker->findPath(cell(-3, 10)) + walker->findPath(nullptr) + walker->findPath(walker),
            -3);
  EXPECT_TRUE(logHas("Object::findPath(): Error! no other object to reach."));
  EXPECT_EQ(walker->getPathFind(), running) << "a bad goal keeps the running search";
  paths().cycleSteps(1000);
  for (int frame = 0; frame < 2000 && walker->getFollowPath(); ++frame) world().update();
  EXPECT_EQ(walker->statuses, std::vector<int>{2});
  EXPECT_EQ(walker->getPosition(), cell(12, 4));
  EXPECT_FALSE(walker->getFollowPath());
  EXPECT_EQ(walker->count(COLLISION_EVENT), 0);
}

// A walk of 8 cells straight right takes 9 search steps; searches take turns.
TEST_F(PathManagerTest, StepsAreSharedAndEverySearchGetsOne) {
  ASSERT_EQ((new Probe(cell(2, 2)))->findPath(cell(10, 2)), 0);
  ASSERT_EQ((new Probe(cell(2, 8)))->findPath(cell(10, 8)), 0);
  for (int frame = 0; frame < 4; ++frame) paths().cycleSteps(4);
  EXPECT_EQ(paths().getSearchCount(), 2) << "16 steps are not 18";
  paths().cycleSteps(1);
  EXPECT_EQ(paths().getSearchCount(), 0) << "one step each, though the budget is 1";
}

}  // namespace
}  // namespace tx::test
