#pragma once

// Screens of characters the drawing benchmarks draw: bench_drawing and peer_drawing.
#include <vector>

#include "tolvex/display/Color.h"
#include "tolvex/world/Vector.h"

namespace bench {

struct Cell {
  tx::Vector position;
  char ch;
  tx::Color color;
};
using Scene = std::vector<Cell>;

// Frames drawn one after the other, round and round.
using Scenes = std::vector<Scene>;

// Every cell, in the colours red to white; a shift gives every cell another character and
// colour.
inline Scene fullScreen(int columns, int rows, int shift = 0) {
  Scene scene;
  for (int row = 0; row < rows; row++)
    for (int column = 0; column < columns; column++)
      scene.push_back({tx::Vector(static_cast<float>(column), static_cast<float>(row)),
                       static_cast<char>('!' + (row * columns + column + shift) % 94),
                       static_cast<tx::Color>(1 + (row + column + shift) % 7)});
  return scene;
}

// A full screen that stays the same, and one that changes in every cell from frame to frame.
inline Scenes unchangedScreen(int columns, int rows) { return {fullScreen(columns, rows)}; }
inline Scenes changingScreen(int columns, int rows) {
  return {fullScreen(columns, rows), fullScreen(columns, rows, 1)};
}

}  // namespace bench
