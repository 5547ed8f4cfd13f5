#pragma once

#include "tolvex/world/Object.h"

// The ledge under the player at the start of a game. Once the camera has risen past it, it
// deletes itself at once, inside its own step handler. Created with new by the title screen.
class Floor : public tx::Object {
 public:
  Floor();

  // Step: leaves when below the view (1). Anything else: 0. After a 1 for a step below the
  // view the object no longer exists.
  int eventHandler(const tx::Event* event) override;
};
