#pragma once

#include <memory>

#include "tolvex/display/Sprite.h"
#include "tolvex/world/Object.h"

namespace tx {

// The engine's name sliding in from the right edge of the view. It stops on its 15th step, calls
// up the rising figure and marks itself for deletion on its 90th step, or sets game over on any
// key. Created with new; the world owns it. It owns its sprite.
class Splash : public Object {
 public:
  Splash();

  int eventHandler(const Event* event) override;

 private:
  int countdown = 15;
  std::unique_ptr<Sprite> sprite;
};

}  // namespace tx
