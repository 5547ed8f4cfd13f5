#pragma once

#include <functional>

namespace tx {

// The UTC wall-clock time of day, as the frame clock reads it.
struct WallClockTime {
  int day = 1;  // day of the month, 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Result of a timer-resolution request the system refuses.
constexpr int TIMER_CANNOT_DO = 97;

// Reads the current UTC time of day from the active source (the system clock unless a test
// has installed its own).
WallClockTime readWallClock();
// Replaces the wall-clock source; an empty function restores the system clock.
void setWallClockSource(std::function<WallClockTime()> source);

// Blocks the calling thread for the given whole milliseconds (nothing for 0 or less), through
// the active sleeper (the system's unless a test has installed its own).
void sleepMilliseconds(int milliseconds);
// Replaces the sleeper; an empty function restores the system's sleep.
void setSleeper(std::function<void(int milliseconds)> sleeper);

// Asks for a 1 ms scheduler resolution for the whole process. 0, or TIMER_CANNOT_DO when
// refused. Linux timers already have that resolution, so this always succeeds there.
int requestTimerResolution();
// Gives back what requestTimerResolution() asked for. 0, or TIMER_CANNOT_DO when refused.
int releaseTimerResolution();

// Blocks the calling thread for about the given microseconds; for short polling waits.
void waitMicroseconds(int microseconds);

}  // namespace tx
