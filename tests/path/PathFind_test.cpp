#include "path/PathFind.h"

#include <cmath>

#include "PathFixture.h"

namespace tx::test {
namespace {

using PathFindTest = PathTest;

// Every waypoint is one king's move from the one before and none lies on a wall.
void expectConnectedAvoiding(const Path& path, const std::vector<Object*>& walls) {
  const std::vector<Vector>& nodes = path.getNodes();
  for (size_t i = 1; i < nodes.size(); ++i) {
    EXPECT_LE(std::fabs(nodes[i].getX() - nodes[i - 1].getX()), 1.0f) << "waypoint " << i;
    EXPECT_LE(std::fabs(nodes[i].getY() - nodes[i - 1].getY()), 1.0f) << "waypoint " << i;
    EXPECT_NE(nodes[i], nodes[i - 1]) << "waypoint " << i;
  }
  for (const Vector& n : nodes) {
    for (const Object* w : walls) EXPECT_NE(n, w->getPosition());
  }
}

TEST_F(PathFindTest, StartEqualsGoalIsFoundAtFirstStepWithOneCell) {
  Walker walker(cell(4, 4));
  PathFind search(&walker, cell(4, 4), cell(4, 4));
  EXPECT_EQ(search.cycleOnce(), 2);
  const Path path = search.getPath();
  ASSERT_EQ(path.getNodes().size(), 1u);
  EXPECT_EQ(path.getNodes()[0], cell(4, 4));
  EXPECT_EQ(path.getIndex(), 0);
}

TEST_F(PathFindTest, OpenFieldPathRunsStraightFromStartToGoal) {
  Walker walker(cell(2, 3));
  PathFind search(&walker, cell(2, 3), cell(7, 3));
  EXPECT_TRUE(search.getPath().getNodes().empty());
  EXPECT_EQ(runToEnd(search), 2);
  const Path path = search.getPath();
  const std::vector<Vector>& nodes = path.getNodes();
  ASSERT_EQ(nodes.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(nodes[i], cell(2 + i, 3));
}

TEST_F(PathFindTest, DiagonalBetweenTwoBlockedSidesIsNeverEntered) {
  wall(6, 5);
  wall(5, 6);
  Walker walker(cell(5, 5), SOFT);
  PathFind search(&walker, cell(5, 5), cell(6, 6));
  ASSERT_EQ(runToEnd(search), 2);
  const Path path = search.getPath();
  const std::vector<Vector>& nodes = path.getNodes();
  ASSERT_GE(nodes.size(), 3u);
  EXPECT_NE(nodes[1], cell(6, 6));
}

TEST_F(PathFindTest, DiagonalWithOneFreeSideIsEnteredByAWalkerThatMayPass) {
  wall(6, 5);
  Walker walker(cell(5, 5), SOFT);
  PathFind search(&walker, cell(5, 5), cell(6, 6));
  ASSERT_EQ(runToEnd(search), 2);
  const Path path = search.getPath();
  const std::vector<Vector>& nodes = path.getNodes();
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[1], cell(6, 6));
}

// A HARD walker's box would clip the wall's corner on the diagonal and its move be refused.
TEST_F(PathFindTest, HardWalkerGoesRoundACornerItWouldClip) {
  wall(6, 5);
  Walker walker(cell(5, 5));
  PathFind search(&walker, cell(5, 5), cell(6, 6));
  ASSERT_EQ(runToEnd(search), 2);
  const Path path = search.getPath();
  const std::vector<Vector>& nodes = path.getNodes();
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[1], cell(5, 6));
  EXPECT_EQ(nodes[2], cell(6, 6));
}

TEST_F(PathFindTest, AmongEqualCostsTheCellAppendedLastIsExpandedFirst) {
  // (4, 6) and (6, 6) tie; (6, 6) is appended after (4, 6), so the path goes right.
  wall(5, 6);
  Walker walker(cell(5, 5), SOFT);
  PathFind search(&walker, cell(5, 5), cell(5, 7));
  ASSERT_EQ(runToEnd(search), 2);
  EXPECT_EQ(search.getClosedCount(), 3);
  const Path path = search.getPath();
  const std::vector<Vector>& nodes = path.getNodes();
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[1], cell(6, 6));
}

TEST_F(PathFindTest, PathGoesAroundAWall) {
  std::vector<Object*> walls;
  for (int y = 2; y <= 12; ++y) walls.push_back(wall(10, y));
  Walker walker(cell(5, 7));
  PathFind search(&walker, cell(5, 7), cell(15, 7));
  ASSERT_EQ(runToEnd(search), 2);
  const Path path = search.getPath();
  ASSERT_FALSE(path.getNodes().empty());
  EXPECT_EQ(path.getNodes().front(), cell(5, 7));
  EXPECT_EQ(path.getNodes().back(), cell(15, 7));
  expectConnectedAvoiding(path, walls);
}

TEST_F(PathFindTest, ClosedRoomHasNoPath) {
  for (int i = 0; i <= 4; ++i) {
    wall(10 + i, 5);
    wall(10 + i, 9);
    wall(10, 5 + i);
    wall(14, 5 + i);
  }
  Walker walker(cell(3, 3));
  PathFind search(&walker, cell(3, 3), cell(12, 7));
  EXPECT_EQ(runToEnd(search), 0);
  EXPECT_FALSE(search.isFound());
  EXPECT_TRUE(search.getPath().getNodes().empty());
}

// An obstacle at the goal itself is what the walker heads for, so it does not block.
TEST_F(PathFindTest, HardObjectOnTheGoalDoesNotBlockIt) {
  wall(8, 4);
  Walker walker(cell(4, 4));
  PathFind search(&walker, cell(4, 4), cell(8, 4));
  ASSERT_EQ(runToEnd(search), 2);
  EXPECT_EQ(search.getPath().getNodes().back(), cell(8, 4));
}

TEST_F(PathFindTest, TargetIsReachedBeforeTheGoalCell) {
  Object target;
  target.setPosition(cell(12, 7));
  target.setBox(Box(Vector(-2.5f, -2.5f), 5.0f, 5.0f));
  Walker walker(cell(2, 7));
  PathFind search(&walker, cell(2, 7), cell(12, 7), &target);
  ASSERT_EQ(runToEnd(search), 2);
  const Path path = search.getPath();
  const std::vector<Vector>& nodes = path.getNodes();
  // The walker's box at (9, 7) reaches 9.49, the target's begins at 9.5: (10, 7) is the first touch.
  EXPECT_EQ(nodes.back(), cell(10, 7));
  EXPECT_EQ(search.getGoal().x, 10);
  EXPECT_EQ(nodes.size(), 9u);
}

TEST_F(PathFindTest, DestroyedTargetIsForgottenAndTheGoalCellStillReached) {
  auto* target = new Object;
  target->setPosition(cell(12, 7));
  target->setBox(Box(Vector(-2.5f, -2.5f), 5.0f, 5.0f));
  Walker walker(cell(2, 7));
  PathFind search(&walker, cell(2, 7), cell(12, 7), target);
  EXPECT_EQ(search.cycleOnce(), 1);
  delete target;
  EXPECT_EQ(search.getTarget(), nullptr);
  ASSERT_EQ(runToEnd(search), 2);
  EXPECT_EQ(search.getPath().getNodes().back(), cell(12, 7));
}

TEST_F(PathFindTest, CellOutsideTheWorldLeavesNoNodesAndFailsAtFirstStep) {
  Walker walker(cell(2, 2));
  PathFind search(&walker, cell(2, 2), cell(25, 2));
  EXPECT_TRUE(logHas("PathFind::PathFind(): Error! start (2,2) or goal (25,2) outside the 20 x 15 world."));
  EXPECT_FALSE(search.hasNodes());
  EXPECT_EQ(search.cycleOnce(), 0);
  EXPECT_TRUE(logHas("PathFind::cycleOnce(): node graph not allocated.  Cannot find path."));
  EXPECT_TRUE(search.getPath().getNodes().empty());
}

// The nodes were made for the old size; cells beyond them must not be touched.
TEST_F(PathFindTest, BoundaryGrownDuringASearchStaysWithinTheNodes) {
  Walker walker(cell(18, 7));
  PathFind search(&walker, cell(18, 7), cell(19, 14));
  setWorld(60, 40);
  ASSERT_EQ(runToEnd(search), 2);
  const Path path = search.getPath();
  for (const Vector& n : path.getNodes()) {
    EXPECT_LT(n.getX(), 20.0f);
    EXPECT_LT(n.getY(), 15.0f);
  }
}

}  // namespace
}  // namespace tx::test
