#pragma once

#include "tolvex/core/Music.h"
#include "tolvex/display/ViewObject.h"

// The title screen: names the window "Skyward", shows the "gamestart" sprite in the middle of
// the view with the best height under its menu, loops the menu music, starts a game on P and
// ends the program on Q. Created once with new by the entry function, after the splash screen;
// the world owns it. While a game runs it stays in the world, inactive.
class GameStart : public tx::ViewObject {
 public:
  GameStart();

  // P: plays "startup" and starts a game; Q: sets game over. 1 for every keyboard event,
  // 0 for anything else.
  int eventHandler(const tx::Event* event) override;
  // Draws the sprite at the position, as a plain object does, and the best height under it.
  int draw() override;

  // Builds a new game with the camera back at the origin, lets F10 and Escape pause it, and
  // makes the title inactive.
  void start();

  // The title music, owned by the resource manager; null when it failed to load.
  tx::Music* getMusic() const { return music; }

 private:
  tx::Music* music = nullptr;
};
