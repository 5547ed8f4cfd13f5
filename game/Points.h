#pragma once

#include "tolvex/display/ViewObject.h"

// The height score. Every step it raises its value to the player's best height so far
// (5 per cell) and runs the level check whenever the value grows. The title screen places it,
// labels it "Height" and registers it for steps. Created with new; the world owns it.
class Points : public tx::ViewObject {
 public:
  // View events as a ViewObject (1 when handled); step: height update (1); anything else: 0.
  int eventHandler(const tx::Event* event) override;
};
