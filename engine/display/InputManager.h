#pragma once

#include <string>

#include <SFML/Window/Event.hpp>

#include "core/Manager.h"
#include "display/EventKeyboard.h"
#include "display/EventMouse.h"

namespace sf {
class Window;
}

namespace tx {

// Turns the window's keyboard and mouse activity into "tx-keyboard" and "tx-mouse" events once
// per game-loop iteration. Needs the display manager started first.
class InputManager : public Manager {
 public:
  static InputManager& getInstance();
  InputManager(const InputManager&) = delete;
  InputManager& operator=(const InputManager&) = delete;

  // True exactly for "tx-keyboard" and "tx-mouse".
  bool isValid(std::string label) const override;
  ~InputManager() override;
  // Turns key repeat off on the display's window. -1 when the display manager is not started;
  // always 0 in headless mode.
  int startUp() override;
  // Turns key repeat back on when there is a window.
  void shutDown() override;

  // Drains the window's events, then reports held mouse buttons, then held keys, delivering each
  // as an event to the registered objects. A window close sets game over and ends the call.
  void getInput();

  // A keyboard event with the SFML key translated (untranslated keys: SFML value + 97) and the
  // action still UNDEFINED.
  EventKeyboard toEventKeyboard(const sf::Event::KeyEvent& key_event) const;

 private:
  InputManager();

  // Drains the window's event queue into events. False at a close, which sets game over and
  // leaves the rest of the queue for the next call.
  bool readWindowEvents(sf::Window& window) const;
  void deliverKey(const sf::Event::KeyEvent& key_event, KeyAction action) const;
  void deliverMove(const sf::Event::MouseMoveEvent& move) const;
  void deliverClick(const sf::Event::MouseButtonEvent& click) const;
  // One PRESSED mouse event per button held now (left, right, middle), at the pointer's cell.
  void reportHeldButtons(const sf::Window& window) const;
  // One HELD keyboard event per key of the scan list held now, in scan order.
  void reportHeldKeys() const;
};

}  // namespace tx
