#include "tolvex/core/Clock.h"

#include <cstdint>

#include "tolvex/platform/SystemClock.h"

namespace tx {

namespace {

// Microseconds since the start of the month, wrapping modulo 2^32.
std::uint32_t timeStamp() {
  const WallClockTime now = readWallClock();
  std::uint32_t stamp = static_cast<std::uint32_t>(now.day);
  stamp = stamp * 24u + static_cast<std::uint32_t>(now.hour);
  stamp = stamp * 60u + static_cast<std::uint32_t>(now.minute);
  stamp = stamp * 60u + static_cast<std::uint32_t>(now.second);
  stamp = stamp * 1000u + static_cast<std::uint32_t>(now.millisecond);
  return stamp * 1000u;
}

// The wrapped difference read as a signed 32-bit interval. A negative interval means the
// wall clock went back (or the month turned), so it carries no information: 0.
int interval(std::uint32_t later, std::uint32_t earlier) {
  const std::int32_t difference = static_cast<std::int32_t>(later - earlier);
  return difference < 0 ? 0 : difference;
}

}  // namespace

Clock::Clock() : previous_time(static_cast<int>(timeStamp())) {}

int Clock::delta() {
  const std::uint32_t now = timeStamp();
  const int elapsed = interval(now, static_cast<std::uint32_t>(previous_time));
  previous_time = static_cast<int>(now);
  return elapsed;
}

int Clock::split() const {
  return interval(timeStamp(), static_cast<std::uint32_t>(previous_time));
}

}  // namespace tx
