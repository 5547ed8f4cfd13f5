#pragma once

#include "tolvex/core/Event.h"
#include "tolvex/world/Vector.h"

namespace tx {

// What the mouse did: a button went down, a button is down at the time of the scan, or it moved.
enum class MouseAction : int {
  UNDEFINED = -1,
  CLICKED = 0,
  PRESSED = 1,
  MOVED = 2,
};

// Mouse buttons, numbered as SFML numbers them.
enum class MouseButton : int {
  UNDEFINED = -1,
  LEFT = 0,
  RIGHT = 1,
  MIDDLE = 2,
};

// A mouse click, held button or movement ("tx-mouse"). The position is in cells relative to the
// view. Built on the stack for one delivery: receivers must not keep pointers to it.
class EventMouse : public Event {
 public:
  EventMouse() { setType(MOUSE_EVENT); }

  // Clicked, held at this step's scan, or moved.
  void setAction(MouseAction new_action) { action = new_action; }
  MouseAction getAction() const { return action; }
  // The button clicked or held; UNDEFINED for a move.
  void setButton(MouseButton new_button) { button = new_button; }
  MouseButton getButton() const { return button; }
  // Where the pointer is, in cells relative to the view's corner (viewToWorld() gives the world
  // position).
  void setPosition(Vector new_position) { position = new_position; }
  Vector getPosition() const { return position; }

 private:
  MouseAction action = MouseAction::UNDEFINED;
  MouseButton button = MouseButton::UNDEFINED;
  Vector position;
};

}  // namespace tx
