#include "Floor.h"

#include "GameFixture.h"

namespace tx::test {
namespace {

using FloorTest = GameTest;

// The floor (row 12) stays while it is in the view and leaves once the view's bottom rises above
// it.
TEST_F(FloorTest, LeavesOnceAboveTheViewsBottom) {
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

}  // namespace
}  // namespace tx::test
