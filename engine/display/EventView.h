#pragma once

#include <string>

#include "tolvex/core/Event.h"

namespace tx {

// Asks the view objects whose label equals tag to set their value to value, or to add value to
// it when delta is true. Send it through the world manager's onEvent.
class EventView : public Event {
 public:
  EventView();
  EventView(std::string init_tag, int init_value, bool init_delta);
  ~EventView() override = default;

  void setTag(std::string new_tag) { tag = std::move(new_tag); }
  std::string getTag() const { return tag; }
  void setValue(int new_value) { value = new_value; }
  int getValue() const { return value; }
  void setDelta(bool new_delta) { delta = new_delta; }
  bool getDelta() const { return delta; }

 private:
  std::string tag;
  int value = 0;
  bool delta = false;
};

}  // namespace tx
