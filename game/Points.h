#pragma once

#include "tolvex/display/ViewObject.h"
#include "tolvex/world/Vector.h"

// The height score. Every step it raises its value to the player's best height so far
// (5 per cell), keeps the best of all games up to date and runs the level check whenever the
// value grows. The title screen places it,
// labels it "Height" and registers it for steps. Created with new; the world owns it.
class Points : public tx::ViewObject {
 public:
  // The colour heights are shown in.
  static constexpr tx::Color COLOR = tx::YELLOW;

  // View events as a ViewObject (1 when handled); step: height update (1); anything else: 0.
  int eventHandler(const tx::Event* event) override;
};

// The highest height any game has reached since the program started; 0 before that.
int bestHeight();
// Draws "Best: " and bestHeight() centred on a world position, in the heights' colour.
int drawBestHeight(tx::Vector position);
