#include "PathFixture.h"

namespace tx::test {
namespace {

using PathManagerSteps = PathTest;

// A walk of 8 cells straight right takes 9 search steps; searches take turns.
TEST_F(PathManagerSteps, StepsAreSharedAndEverySearchGetsOne) {
  ASSERT_EQ((new Probe(cell(2, 2)))->findPath(cell(10, 2)), 0);
  ASSERT_EQ((new Probe(cell(2, 8)))->findPath(cell(10, 8)), 0);
  for (int frame = 0; frame < 4; ++frame) paths().cycleSteps(4);
  EXPECT_EQ(paths().getSearchCount(), 2) << "16 steps are not 18";
  paths().cycleSteps(1);
  EXPECT_EQ(paths().getSearchCount(), 0) << "one step each, though the budget is 1";
}

}  // namespace
}  // namespace tx::test
