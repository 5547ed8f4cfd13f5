#pragma once

#include <memory>

#include "tolvex/display/Sprite.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/Vector.h"

namespace tx {

// The small figure of the splash screen: rises from below the view to target in 30 steps, comes
// to rest 45 steps after its creation and sets game over 75 steps after it, or at once on any
// key. Created with new; the world owns it. It owns its sprite.
class SplashTolvex : public Object {
 public:
  // Starts below the view, under target (world cells).
  explicit SplashTolvex(Vector init_target);

  int eventHandler(const Event* event) override;
  // Where the figure comes to rest, in world cells.
  Vector getTarget() const { return target; }

 private:
  Vector target;
  int countdown = 30;
  std::unique_ptr<Sprite> sprite;
};

}  // namespace tx
