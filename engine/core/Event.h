#pragma once

#include <string>

namespace tx {

// The engine's event labels. Any other label is a game's own event, routed by the world manager.
inline const std::string UNDEFINED_EVENT = "tx-undefined";
inline const std::string STEP_EVENT = "tx-step";
inline const std::string COLLISION_EVENT = "tx-collision";
inline const std::string OUT_EVENT = "tx-out";
inline const std::string VIEW_EVENT = "tx-view";
inline const std::string KEYBOARD_EVENT = "tx-keyboard";
inline const std::string MOUSE_EVENT = "tx-mouse";
inline const std::string NETWORK_EVENT = "tx-network";
inline const std::string CUSTOM_NETWORK_EVENT = "tx-custom-network";
inline const std::string KEYBOARD_NETWORK_EVENT = "tx-keyboard-network";
inline const std::string MOUSE_NETWORK_EVENT = "tx-mouse-network";
inline const std::string PATH_EVENT = "tx-path";

// Base of every event; a new event carries "tx-undefined" until its class labels it.
class Event {
 public:
  Event() = default;
  virtual ~Event() = default;

  // The label, which decides the manager that accepts the event and who receives it.
  void setType(std::string new_type) { event_type = std::move(new_type); }
  std::string getType() const { return event_type; }

 private:
  std::string event_type = UNDEFINED_EVENT;
};

}  // namespace tx
