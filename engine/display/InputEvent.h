#pragma once

#include "tolvex/display/EventKeyboard.h"
#include "tolvex/display/EventMouse.h"
#include "tolvex/world/Vector.h"

namespace tx {

// One piece of input as the input manager delivers it: a keyboard event, a mouse event or the
// window closing. The value that recordings hold and that programs queue for delivery.
struct InputEvent {
  // Which of the three it is; the fields of the others keep their UNDEFINED defaults.
  enum class Kind { KEYBOARD, MOUSE, CLOSE };

  // A key event.
  static InputEvent keyboard(KeyCode key, KeyAction action) {
    InputEvent event;
    event.kind = Kind::KEYBOARD;
    event.key = key;
    event.key_action = action;
    return event;
  }
  // A mouse event; position in cells, relative to the view.
  static InputEvent mouse(MouseAction action, MouseButton button, Vector position) {
    InputEvent event;
    event.kind = Kind::MOUSE;
    event.mouse_action = action;
    event.button = button;
    event.position = position;
    return event;
  }
  // The window closing.
  static InputEvent close() { return InputEvent(); }

  // Equal when every field is (positions compared exactly).
  bool operator==(const InputEvent& other) const {
    return kind == other.kind && key == other.key && key_action == other.key_action &&
           mouse_action == other.mouse_action && button == other.button &&
           position == other.position;
  }
  bool operator!=(const InputEvent& other) const { return !(*this == other); }

  // What kind of input this is.
  Kind kind = Kind::CLOSE;
  // Keyboard only.
  KeyCode key = KeyCode::UNDEFINED;
  KeyAction key_action = KeyAction::UNDEFINED;
  // Mouse only.
  MouseAction mouse_action = MouseAction::UNDEFINED;
  MouseButton button = MouseButton::UNDEFINED;
  Vector position;
};

}  // namespace tx
