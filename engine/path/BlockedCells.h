#pragma once

#include <vector>

#include "tolvex/world/Box.h"
#include "tolvex/world/Vector.h"

namespace tx {

class Object;

// Which places of a path search's grid are blocked for its walker: a place is blocked when the
// walker's box placed there meets a HARD object (other than the walker) and the first such
// object in the solid list does not cover the goal. The places are the cells (x, y) and, for a
// walker that must not clip corners, the corners (x + 0.5, y + 0.5) that diagonal steps pass.
// The whole grid is worked out at once, each obstacle marking the places it reaches, and again
// only when the solid objects, the walker's box or the goal have changed since.
class BlockedCells {
 public:
  // A grid of width x height cells, and as many corners.
  BlockedCells(int width, int height);

  // Brings the grid up to date for the walker heading for goal, corners included when asked.
  // The number of solid objects it looked at: 0 when the grid was up to date.
  int refresh(const Object* walker, Vector goal, bool with_corners);
  // Cell (x, y) inside the grid; as of the last refresh.
  bool isBlocked(int x, int y) const { return cells.isBlocked(x, y); }
  // Corner (x + 0.5, y + 0.5) inside the grid; as of the last refresh with corners.
  bool isCornerBlocked(int x, int y) const { return corners.isBlocked(x, y); }

 private:
  enum State : unsigned char { UNDECIDED, FREE, BLOCKED };

  // Places (x + offset, y + offset) and what was decided for each.
  struct Lattice {
    int width;
    int height;
    float offset;
    std::vector<State> state;
    bool isBlocked(int x, int y) const {
      return state[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)] == BLOCKED;
    }
  };

  // Decides every undecided place of the lattice where the walker's box meets obstacle.
  void mark(Lattice& lattice, const Box& obstacle, State decision);
  // Appends to hits the places along one axis (count of them, at i + offset) where the walker's
  // span, its corner walker_start (relative) and extent walker_extent, meets [start, start +
  // extent].
  static void axisHits(float walker_start, float walker_extent, float start, float extent,
                       int count, float offset, std::vector<int>& hits);

  Lattice cells;
  Lattice corners;
  // What the grid was worked out for.
  bool valid = false;
  bool corners_valid = false;
  long long revision = 0;
  Box walker_box;
  Vector goal;
  // Scratch for mark, kept to save the allocation.
  std::vector<int> hits_x;
  std::vector<int> hits_y;
};

}  // namespace tx
