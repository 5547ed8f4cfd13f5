#pragma once

#include "tolvex/world/Object.h"

// A pick-up sitting on a recycled platform. Touching it gives the player its kind for 150
// steps; it leaves when it drops below the view. SOFT, so the player moves through it. Created
// with new by a platform; the world owns it.
class Powerup : public tx::Object {
 public:
  // Places it at (x, y) and picks its kind from rand(): 30 % double jump, 30 % slow time,
  // 30 % low gravity, 10 % guardian angel.
  Powerup(float x, float y);

  // Step: leaves when below the view (1). Collision with the player: hands over its kind and
  // leaves (0). Anything else: 0.
  int eventHandler(const tx::Event* event) override;

  int getKind() const { return kind; }

 private:
  // Hands the kind to the one player, if there is one, and leaves at the end of the step.
  void pickUp();

  int kind = 0;
};
