#include "tolvex/platform/SystemClock.h"

#include <cerrno>
#include <ctime>
#include <utility>

#include "tolvex/platform/StopSignals.h"

namespace tx {

namespace {

WallClockTime readSystemWallClock() {
  WallClockTime now;
  timespec ts{};
  if (clock_gettime(CLOCK_REALTIME, &ts) != 0) return now;
  tm utc{};
  if (gmtime_r(&ts.tv_sec, &utc) == nullptr) return now;
  now.day = utc.tm_mday;
  now.hour = utc.tm_hour;
  now.minute = utc.tm_min;
  now.second = utc.tm_sec;
  now.millisecond = static_cast<int>(ts.tv_nsec / 1000000L);
  return now;
}

// Sleeps the whole interval even when signals interrupt it, unless one asked the program to
// stop: the game loop then ends the game without sleeping out the frame.
void sleepFor(long long nanoseconds) {
  if (nanoseconds <= 0) return;
  timespec left{};
  left.tv_sec = static_cast<time_t>(nanoseconds / 1000000000LL);
  left.tv_nsec = static_cast<long>(nanoseconds % 1000000000LL);
  while (nanosleep(&left, &left) != 0 && errno == EINTR && stopSignal() == 0) {
  }
}

void sleepSystemMilliseconds(int milliseconds) { sleepFor(milliseconds * 1000000LL); }

std::function<WallClockTime()>& wallClockSource() {
  static std::function<WallClockTime()> source;
  return source;
}

std::function<void(int)>& sleeper() {
  static std::function<void(int)> active;
  return active;
}

}  // namespace

WallClockTime readWallClock() {
  const std::function<WallClockTime()>& source = wallClockSource();
  return source ? source() : readSystemWallClock();
}

void setWallClockSource(std::function<WallClockTime()> source) {
  wallClockSource() = std::move(source);
}

void sleepMilliseconds(int milliseconds) {
  if (milliseconds <= 0) return;
  const std::function<void(int)>& active = sleeper();
  if (active)
    active(milliseconds);
  else
    sleepSystemMilliseconds(milliseconds);
}

void setSleeper(std::function<void(int milliseconds)> new_sleeper) {
  sleeper() = std::move(new_sleeper);
}

int requestTimerResolution() { return 0; }

int releaseTimerResolution() { return 0; }

void waitMicroseconds(int microseconds) { sleepFor(microseconds * 1000LL); }

}  // namespace tx
