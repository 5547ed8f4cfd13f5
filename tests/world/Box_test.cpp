#include "tolvex/world/Box.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tx {
namespace {

// Edges and corners count; both axes must overlap; order does not matter.
TEST(BoxTest, IntersectionAndContainmentIncludeEdges) {
  const std::tuple<Box, Box, bool> cases[] = {
      {Box(Vector(0, 0), 1, 1), Box(Vector(1, 0), 1, 1), true},                   // shared edge
      {Box(Vector(0, 0), 1, 1), Box(Vector(1, 1), 1, 1), true},                   // shared corner
      {Box(Vector(0, 0), 0.99f, 0.99f), Box(Vector(1, 0), 0.99f, 0.99f), false},  // neighbour cells
      {Box(Vector(0, 0), 2, 2), Box(Vector(1, 3), 2, 2), false},  // x overlaps, y does not
      {Box(Vector(0, 0), 2, 2), Box(Vector(0.5f, 0.5f), 0.5f, 0.5f), true},  // inside
  };
  for (const auto& [a, b, meets] : cases) {
    EXPECT_EQ(boxIntersectsBox(a, b), meets) << b.getCorner().getX();
    EXPECT_EQ(boxIntersectsBox(b, a), meets) << b.getCorner().getX();
  }
  const Box b(Vector(0, 0), 2, 2);
  EXPECT_TRUE(boxContainsPosition(b, Vector(2, 2)) && boxContainsPosition(b, Vector(0, 0)));
  EXPECT_FALSE(boxContainsPosition(b, Vector(2.01f, 0)) ||
               boxContainsPosition(b, Vector(1, -0.01f)));
}

}  // namespace
}  // namespace tx
