#pragma once

#include <tolvex/display/EventKeyboard.h>
#include <tolvex/world/EventCollision.h>
#include <tolvex/world/Object.h>

// The one the arrow keys move. It walks the way the last arrow key pointed (right at first),
// stops when it bumps into something solid, with a sound and one more on the "Bumps" display,
// and turns round when it walks out of the world.
class Player : public tx::Object {
 public:
  explicit Player(tx::Vector start);

  int eventHandler(const tx::Event* event) override;

 private:
  void steer(const tx::EventKeyboard& key);
  void bump(const tx::EventCollision& collision);
  void turnRound();
};
