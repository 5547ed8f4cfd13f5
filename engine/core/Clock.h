#pragma once

namespace tx {

// Microsecond timer on the wall-clock time of day (millisecond resolution). Intervals shorter
// than about 35 minutes are measured correctly across the wrap of the 32-bit stamp; a clock
// set back, or the turn of a month, would give a negative interval, which reads as 0.
class Clock {
 public:
  // Starts timing from now.
  Clock();
  // Microseconds since construction or the previous delta(); restarts timing from now.
  int delta();
  // Microseconds since construction or the previous delta(); timing goes on.
  int split() const;

 private:
  int previous_time;
};

}  // namespace tx
