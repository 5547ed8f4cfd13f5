#include "world/Box.h"

#include <gtest/gtest.h>

namespace tx {
namespace {

Box box(float x, float y, float horizontal, float vertical) {
  return Box(Vector(x, y), horizontal, vertical);
}

TEST(BoxTest, SharedEdgeIntersects) {
  EXPECT_TRUE(boxIntersectsBox(box(0.0f, 0.0f, 1.0f, 1.0f), box(1.0f, 0.0f, 1.0f, 1.0f)));
  EXPECT_FALSE(boxIntersectsBox(box(0.0f, 0.0f, 1.0f, 1.0f), box(1.01f, 0.0f, 1.0f, 1.0f)));
}

TEST(BoxTest, SharedCornerIntersects) {
  EXPECT_TRUE(boxIntersectsBox(box(0.0f, 0.0f, 1.0f, 1.0f), box(1.0f, 1.0f, 1.0f, 1.0f)));
}

TEST(BoxTest, NeighbouringObjectCellsDoNotIntersect) {
  EXPECT_FALSE(boxIntersectsBox(box(9.5f, 9.5f, 0.99f, 0.99f), box(10.5f, 9.5f, 0.99f, 0.99f)));
  EXPECT_TRUE(boxIntersectsBox(box(9.5f, 9.5f, 0.99f, 0.99f), box(10.0f, 9.5f, 0.99f, 0.99f)));
}

TEST(BoxTest, IntersectionNeedsBothAxesAndIsSymmetric) {
  const Box a = box(0.0f, 0.0f, 2.0f, 2.0f);
  const Box below = box(1.0f, 3.0f, 2.0f, 2.0f);
  const Box inside = box(0.5f, 0.5f, 0.5f, 0.5f);
  EXPECT_FALSE(boxIntersectsBox(a, below));
  EXPECT_FALSE(boxIntersectsBox(below, a));
  EXPECT_TRUE(boxIntersectsBox(a, inside));
  EXPECT_TRUE(boxIntersectsBox(inside, a));
}

TEST(BoxTest, ContainsPositionIncludesEdges) {
  const Box b = box(0.0f, 0.0f, 2.0f, 2.0f);
  EXPECT_TRUE(boxContainsPosition(b, Vector(2.0f, 2.0f)));
  EXPECT_TRUE(boxContainsPosition(b, Vector(0.0f, 0.0f)));
  EXPECT_FALSE(boxContainsPosition(b, Vector(2.01f, 0.0f)));
  EXPECT_FALSE(boxContainsPosition(b, Vector(1.0f, -0.01f)));
}

TEST(BoxTest, EqualityComparesAllFields) {
  EXPECT_EQ(box(1.0f, 2.0f, 3.0f, 4.0f), box(1.0f, 2.0f, 3.0f, 4.0f));
  EXPECT_NE(box(1.0f, 2.0f, 3.0f, 4.0f), box(1.0f, 2.0f, 3.0f, 4.5f));
  EXPECT_EQ(Box(), box(0.0f, 0.0f, 0.0f, 0.0f));
}

}  // namespace
}  // namespace tx
