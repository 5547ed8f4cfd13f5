#pragma once

#include <tolvex/world/Object.h>
#include <tolvex/world/Vector.h>

// A column of '#' cells that nothing solid walks through.
class Wall : public tx::Object {
 public:
  // The wall's top cell and its height in cells.
  Wall(tx::Vector top, int init_height);

  // Draws the column; the wall has no sprite.
  int draw() override;

 private:
  int height;
};
