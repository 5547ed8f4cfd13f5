#pragma once

#include "display/ViewObject.h"

// Shows the level number; it goes up by one on each "Level" view event the Difficulty sends.
// The title screen places and labels it. Created with new; the world owns it.
class LevelDisplay : public tx::ViewObject {
 public:
  LevelDisplay() = default;
  ~LevelDisplay() override = default;

  // Exactly what a ViewObject answers.
  int eventHandler(const tx::Event* event) override;
};
