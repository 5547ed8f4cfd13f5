#pragma once

#include "tolvex/display/EventKeyboard.h"
#include "tolvex/world/Object.h"

namespace sf {
class Window;
}

namespace tx {

// Pressing pause_key (an input-manager key code) freezes the whole game inside this object's
// handler, with "PAUSED - press any key" shown in the middle of the frozen picture, until another
// key is pressed or the window is closed (which also sets game over) or destroyed. The time
// spent paused is not counted as the step's work. Once game over is set the key no longer
// pauses. Created with new; the world owns it.
class Pause : public Object {
 public:
  // What the screen says while paused.
  static constexpr const char* NOTICE = "PAUSED - press any key";
  // Microseconds between two looks at the window while paused.
  static constexpr int POLL_MICROSECONDS = 10000;

  // Spectral and without a sprite: it takes no room and shows nothing.
  explicit Pause(KeyCode init_pause_key);
  // The key code as its number (untranslated keys are their SFML value plus 97).
  explicit Pause(int init_pause_key);
  ~Pause() override = default;

  int eventHandler(const Event* event) override;
  // The pausing key as its number (see the int constructor).
  int getPauseKey() const { return pause_key; }

 private:
  // Shows the notice over the world and waits for a key press, a close or the window's end.
  static void waitForKey(sf::Window& window);
  // Takes every pending window event; true when one of them, or the window's end, resumes.
  static bool takeResumingEvents(sf::Window& window);

  int pause_key;
};

}  // namespace tx
