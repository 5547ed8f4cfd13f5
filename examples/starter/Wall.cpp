#include "Wall.h"

#include <tolvex/display/Color.h>
#include <tolvex/display/DisplayManager.h>
#include <tolvex/world/Box.h>

Wall::Wall(tx::Vector top, int init_height) : height(init_height) {
  setType("Wall");
  setPosition(top);
  // Collisions use the box: one cell wide, from the top cell down.
  setBox(tx::Box(tx::Vector(-0.5f, -0.5f), 1.0f, static_cast<float>(height)));
}

int Wall::draw() {
  tx::DisplayManager& display = tx::DisplayManager::getInstance();
  for (int y = 0; y < height; ++y) {
    display.drawCharacter(getPosition() + tx::Vector(0.0f, static_cast<float>(y)), '#', tx::BLUE);
  }
  return 0;
}
