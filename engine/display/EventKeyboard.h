#pragma once

#include "tolvex/core/Event.h"

namespace tx {

// The engine's key identifiers. Keys the engine does not translate arrive as their SFML key value
// plus 97 (UNTRANSLATED_KEY_OFFSET), which is none of these.
enum class KeyCode : int {
  UNDEFINED = -1,
  SPACE = 0,
  RETURN,
  ESCAPE,
  TAB,
  LEFT_ARROW,
  RIGHT_ARROW,
  UP_ARROW,
  DOWN_ARROW,
  PAUSE,
  MINUS,
  PLUS,
  TILDE,
  PERIOD,
  COMMA,
  SLASH,
  EQUAL,
  BACKSLASH,
  MULTIPLY,
  QUOTE,
  SEMICOLON,
  LEFT_CONTROL,
  RIGHT_CONTROL,
  LEFT_SHIFT,
  RIGHT_SHIFT,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  A,
  B,
  C,
  D,
  E,
  F,
  G,
  H,
  I,
  J,
  K,
  L,
  M,
  N,
  O,
  P,
  Q,
  R,
  S,
  T,
  U,
  V,
  W,
  X,
  Y,
  Z,
  NUM1,
  NUM2,
  NUM3,
  NUM4,
  NUM5,
  NUM6,
  NUM7,
  NUM8,
  NUM9,
  NUM0,
  BACKSPACE,
};

// Added to the SFML key value of a key the engine does not translate.
constexpr int UNTRANSLATED_KEY_OFFSET = 97;

// What happened to a key: went down, came up, or is down at the time of the per-step scan.
enum class KeyAction : int {
  UNDEFINED = -1,
  PRESSED = 0,
  RELEASED = 1,
  HELD = 2,
};

// A key going down, coming up or being held ("tx-keyboard"). Built on the stack for one delivery:
// receivers must not keep pointers to it.
class EventKeyboard : public Event {
 public:
  EventKeyboard() { setType(KEYBOARD_EVENT); }

  // The key; one the engine does not translate has its SFML value plus UNTRANSLATED_KEY_OFFSET.
  virtual void setKey(KeyCode new_key) { key = new_key; }
  virtual KeyCode getKey() const { return key; }
  // Went down, came up, or is down at this step's scan.
  virtual void setAction(KeyAction new_action) { action = new_action; }
  virtual KeyAction getAction() const { return action; }

 private:
  KeyCode key = KeyCode::UNDEFINED;
  KeyAction action = KeyAction::UNDEFINED;
};

}  // namespace tx
