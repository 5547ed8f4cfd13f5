#pragma once

#include "world/Object.h"

namespace tx {

class Sprite;

// The engine's name sliding in from the right edge of the view. It stops on its 15th step, calls
// up the rising figure and marks itself for deletion on its 90th step, or sets game over on any
// key. Created with new; the world owns it. It owns its sprite.
class Splash : public Object {
 public:
  Splash();
  ~Splash() override;

  int eventHandler(const Event* event) override;

 private:
  int countdown = 15;
  Sprite* sprite = nullptr;
};

}  // namespace tx
