#include "tolvex/core/Pause.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include "tolvex/core/Clock.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/display/InputManager.h"
#include "tolvex/display/ViewObject.h"
#include "tolvex/platform/StopSignals.h"
#include "tolvex/platform/SystemClock.h"
#include "tolvex/platform/WindowWatch.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

Pause::Pause(KeyCode init_pause_key) : Pause(static_cast<int>(init_pause_key)) {}

Pause::Pause(int init_pause_key) : pause_key(init_pause_key) {
  LogManager::getInstance().writeLog(
      "Pause::Pause(): Pause enabled.  Press any other key to resume.");
  setSolidness(SPECTRAL);
  setType("Pause");
  registerInterest(KEYBOARD_EVENT);
}

int Pause::eventHandler(const Event* event) {
  const LogManager& log = LogManager::getInstance();
  log.writeLog(10, "Pause::eventHandler(): Got event");
  if (event->getType() != KEYBOARD_EVENT) return 0;
  const EventKeyboard* keyboard_event = dynamic_cast<const EventKeyboard*>(event);
  if (keyboard_event == nullptr) return 0;
  if (static_cast<int>(keyboard_event->getKey()) != pause_key) return 1;
  // The game is ending (the window was closed, perhaps from inside an earlier pause while the
  // key is still held): a pause now would wait for a key press nobody means to give.
  if (GameManager::getInstance().getGameOver()) return 0;

  log.writeLog(1, "Pause::eventHandler(): Game paused.");
  // The key that ended the pause never reached the game, so a recording does not hold it: a
  // replay goes on at once, as the game did then.
  if (InputManager::getInstance().isReplaying()) {
    log.writeLog(1, "Pause::eventHandler(): Game resumed.");
    return 1;
  }
  sf::RenderWindow* window = DisplayManager::getInstance().getWindow();
  if (window == nullptr) {
    log.writeLog(
        "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot "
        "pause.");
    return 0;
  }
  const Clock paused;
  waitForKey(*window);
  GameManager::getInstance().addPausedTime(paused.split());
  log.writeLog(1, "Pause::eventHandler(): Game resumed.");
  return 1;
}

// The whole game stands still in here: the window is polled directly, so what is taken while
// paused never reaches the input manager.
void Pause::waitForKey(sf::Window& window) {
  ViewObject notice;
  notice.setViewString(NOTICE);
  notice.setDrawValue(false);
  notice.setLocation(CENTER_CENTER);
  // The last frame was shown and cleared at the start of this step: draw it again, notice on top.
  WorldManager::getInstance().draw();
  DisplayManager::getInstance().swapBuffers();
  while (!takeResumingEvents(window)) waitMicroseconds(POLL_MICROSECONDS);
}

bool Pause::takeResumingEvents(sf::Window& window) {
  const LogManager& log = LogManager::getInstance();
  bool resume = false;
  sf::Event window_event;
  while (window.pollEvent(window_event)) {
    if (window_event.type == sf::Event::KeyPressed) {
      log.writeLog(10, "Pause::eventHandler(): Keypress (%d)",
                   static_cast<int>(window_event.key.code));
      resume = true;
    } else if (window_event.type == sf::Event::Closed) {
      // The input manager will not see this close, so do what it would have done.
      log.writeLog(1, "Pause::eventHandler(): Window close event. Setting game over.");
      GameManager::getInstance().setGameOver(true);
      InputManager::getInstance().recordClose();
      resume = true;
    }
  }
  // Nothing is sent to the window while paused, so its end has to be asked for; the input
  // manager reports it as soon as the pause is over. A stop signal ends the pause too: the game
  // loop then ends the game in order.
  return resume || checkWindowGone() || stopSignal() != 0;
}

}  // namespace tx
