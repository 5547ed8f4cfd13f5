#pragma once

#include <string>

#include "tolvex/core/Event.h"

namespace tx {

// Asks the view objects whose label equals tag to set their value to value, or to add value to
// it when delta is true. Send it through the world manager's onEvent.
class EventView : public Event {
 public:
  EventView();
  // An event for the view objects labelled init_tag (see setTag and the others below).
  EventView(std::string init_tag, int init_value, bool init_delta);
  ~EventView() override = default;

  // The label of the view objects the event is for, compared exactly.
  void setTag(std::string new_tag) { tag = std::move(new_tag); }
  std::string getTag() const { return tag; }
  // The new value, or the amount to add when delta is true.
  void setValue(int new_value) { value = new_value; }
  int getValue() const { return value; }
  // True to add value to the view objects' values, false to replace them.
  void setDelta(bool new_delta) { delta = new_delta; }
  bool getDelta() const { return delta; }

 private:
  std::string tag;
  int value = 0;
  bool delta = false;
};

}  // namespace tx
