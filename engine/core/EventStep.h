#pragma once

#include "tolvex/core/Event.h"

namespace tx {

// Sent once per game-loop iteration to every object registered for "tx-step".
class EventStep : public Event {
 public:
  // An event for the given step count, labelled "tx-step".
  explicit EventStep(int init_step_count = 0) : step_count(init_step_count) { setType(STEP_EVENT); }

  // Completed iterations of the current run when the event was made (0 in the first).
  int getStepCount() const { return step_count; }
  void setStepCount(int new_step_count) { step_count = new_step_count; }

 private:
  int step_count;
};

}  // namespace tx
