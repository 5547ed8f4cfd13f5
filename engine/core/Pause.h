#pragma once

#include "tolvex/display/EventKeyboard.h"
#include "tolvex/world/Object.h"

namespace tx {

// Pressing pause_key (an input-manager key code) freezes the whole game inside this object's
// handler until another key is pressed or the window is closed (which also sets game over).
// Once game over is set the key no longer pauses.
// Created with new; the world owns it.
class Pause : public Object {
 public:
  // Spectral and without a sprite: it takes no room and shows nothing.
  explicit Pause(KeyCode init_pause_key);
  // The key code as its number (untranslated keys are their SFML value plus 97).
  explicit Pause(int init_pause_key);
  ~Pause() override = default;

  int eventHandler(const Event* event) override;
  // The pausing key as its number (see the int constructor).
  int getPauseKey() const { return pause_key; }

 private:
  int pause_key;
};

}  // namespace tx
