#pragma once

#include "tolvex/core/Event.h"

namespace tx {

// Sent by the world manager straight to an object whose box has just left the boundary.
class EventOut : public Event {
 public:
  EventOut();
};

}  // namespace tx
