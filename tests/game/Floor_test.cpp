#include "Floor.h"

#include "GameFixture.h"

namespace tx::test {
namespace {

using FloorTest = GameTest;

// The floor (row 12) stays while in the view and leaves once the view's bottom rises above it.
TEST_F(FloorTest, LeavesOnceAboveTheViewsBottom) {
  int i = 0;
  for (; i < 200 && countOfType("Floor") == 1; ++i) {
    const float bottom = boundary().getCorner().getY() + boundary().getVertical();
    step();
    EXPECT_EQ(countOfType("Floor") == 0, bottom < 12.0f) << i;
  }
  EXPECT_TRUE(i > 150 && i < 200) << i;
}

}  // namespace
}  // namespace tx::test
