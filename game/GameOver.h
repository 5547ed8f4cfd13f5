#pragma once

#include "tolvex/display/ViewObject.h"

// The screen after the player's death: plays the "gameover" animation once in the middle of
// the view, the best height under it, with the camera back at the origin and pausing off, then
// clears the game away and brings the title screen back. Created with new by the player's
// destructor; the world owns it.
class GameOver : public tx::ViewObject {
 public:
  GameOver();
  // Marks every platform, display, floor, background and power-up for deletion and makes the
  // title screen active again with its music.
  ~GameOver() override;

  // Step: counts down and marks itself for deletion at 0 (1). Anything else: 0.
  int eventHandler(const tx::Event* event) override;
  // Draws the sprite at the position, as a plain object does, and the best height under it.
  int draw() override;

  // Steps left before the screen ends.
  int getTimeToLive() const { return time_to_live; }

 private:
  int time_to_live = 0;
};
