#include "core/Clock.h"

#include "TestSupport.h"
#include "platform/SystemClock.h"

namespace tx {
namespace {

// Drives the wall clock from a settable time, in milliseconds since the start of day 1.
class ClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setWallClockSource([this] { return at(now_ms); });
  }
  void TearDown() override { setWallClockSource({}); }

  static WallClockTime at(long long ms) {
    WallClockTime t;
    t.millisecond = static_cast<int>(ms % 1000);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.hour = static_cast<int>(ms / 3600000 % 24);
    t.day = static_cast<int>(ms / 86400000) + 1;
    return t;
  }

  long long now_ms = 0;
};

TEST_F(ClockTest, SplitKeepsTimingAndDeltaRestarts) {
  now_ms = 5000;
  Clock clock;
  now_ms += 25;
  EXPECT_EQ(clock.split(), 25000);
  now_ms += 5;
  EXPECT_EQ(clock.split(), 30000);
  EXPECT_EQ(clock.delta(), 30000);
  EXPECT_EQ(clock.split(), 0);
  now_ms += 7;
  EXPECT_EQ(clock.delta(), 7000);
}

// The 32-bit microsecond stamp wraps about every 71.6 minutes; intervals across it still hold.
TEST_F(ClockTest, IntervalAcrossTheStampWrapIsMeasured) {
  // The stamp counts from day 0, so day 1 starts at 86 400 000 ms; its 21st wrap falls on day 1.
  const long long wrap_ms = 21 * 4294967296LL / 1000 - 86400000;
  now_ms = wrap_ms - 10;
  Clock clock;
  now_ms += 20;
  EXPECT_EQ(clock.split(), 20000);
}

TEST_F(ClockTest, ClockSetBackReadsAsZero) {
  now_ms = 10LL * 3600000;
  Clock clock;
  now_ms -= 600000;
  EXPECT_EQ(clock.split(), 0);
  EXPECT_EQ(clock.delta(), 0);
  now_ms += 3;
  EXPECT_EQ(clock.split(), 3000);
}

TEST_F(ClockTest, TurnOfTheMonthNeverReadsNegative) {
  now_ms = 30LL * 86400000 + 86400000 - 5;  // day 31, 23:59:59.995
  Clock clock;
  now_ms = 10;  // day 1, 00:00:00.010
  EXPECT_GE(clock.split(), 0);
}

TEST(SystemClockTest, RealClockAdvances) {
  Clock clock;
  sleepMilliseconds(20);
  EXPECT_GE(clock.split(), 15000);
}

}  // namespace
}  // namespace tx
