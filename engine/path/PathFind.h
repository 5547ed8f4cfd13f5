#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tolvex/path/BlockedCells.h"
#include "tolvex/world/Path.h"
#include "tolvex/world/Vector.h"

namespace tx {

class Object;

// Most cells a search covers: its nodes take some 26 bytes a cell, so a larger world (above
// 1024 x 1024 cells) is refused with a log line rather than left to run out of memory.
constexpr int MAX_PATH_CELLS = 1 << 20;

// An incremental A* search over the world's cells for one walking object. Cells are whole
// world coordinates (an object at (x, y) stands in cell (x, y)); the grid spans 0 <= x < width
// and 0 <= y < height of the world boundary. A cell is blocked where the walker would touch a
// HARD object that does not cover the goal. Steps run through the path manager's cycle. The
// open cells form a binary heap; among equal f the cell opened last is taken first.
class PathFind {
 public:
  // A cell of the grid.
  struct Cell {
    // Column and row, whole world cells.
    int x = 0;
    int y = 0;
    // Same column and row.
    bool operator==(const Cell& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Cell& other) const { return !(*this == other); }
  };

  // Search state of one cell.
  struct Node {
    // Cost of the best way found from the start, in cells (a diagonal step costs its length).
    float g = 0.0f;
    // g plus the estimate of the rest of the way to the goal.
    float f = 0.0f;
    // The cell this one is reached from on that way.
    Cell parent;
    // Whether the cell waits in the open list, and whether it has been expanded.
    bool in_open = false;
    bool in_closed = false;
    // When the cell was opened, counting from 0: its place in the open list.
    int opened = 0;
  };

  // Starts a search for walker from start to goal (positions rounded to the nearest cell) and
  // adds it to the path manager. With a target, the search also ends where the walker's box
  // would touch the target's box placed at the goal. Neither object is owned; the caller owns
  // the search. When walker is null, a cell lies outside the grid or the grid has more than
  // MAX_PATH_CELLS cells, one log line is written, no nodes are made and the search reports
  // status 0 at its first step.
  PathFind(Object* walker, Vector start, Vector goal, Object* target = nullptr);
  // Leaves the path manager's list if still there.
  ~PathFind();
  PathFind(const PathFind&) = delete;
  PathFind& operator=(const PathFind&) = delete;

  // One search step: 0 failed (no path, or no nodes), 1 still searching, 2 found.
  int cycleOnce();
  // The cells from start to goal as positions, index 0; empty until found.
  Path getPath() const;

  // The walker, not owned; null when it was destroyed first.
  Object* getObject() const { return object; }
  // For a walker being destroyed: the search drops it and its nodes, and reports status 0 at its
  // next step, as one made without a walker does.
  void clearObject();
  // The object aimed at, not owned; null when none.
  Object* getTarget() const { return target; }
  // Drops the target (the search then ends only at the goal cell).
  void clearTarget() { target = nullptr; }
  // The start cell.
  Cell getStart() const { return start; }
  // The goal; once a target is reached, the cell where it was reached.
  Cell getGoal() const { return goal; }
  // True once a path has been found.
  bool isFound() const { return found; }
  // False when the search could not start (see the constructor): it fails at its first step.
  bool hasNodes() const { return !nodes.empty(); }
  // Grid size in cells (0 when no nodes were made).
  int getWidth() const { return width; }
  int getHeight() const { return height; }
  // Cells expanded so far.
  int getClosedCount() const { return static_cast<int>(closed.size()); }
  // Cells and obstacles examined so far, a measure of the time the search has taken.
  long long getEffort() const { return effort; }

 private:
  // An entry of the open heap, its key made of f and the cell's opening so that the smallest
  // key is taken first; outdated once its cell is closed or reached more cheaply.
  struct Open {
    std::uint64_t key;
    Cell cell;
  };

  Node& node(Cell c) { return nodes[static_cast<std::size_t>(c.y) * width + c.x]; }
  const Node& node(Cell c) const { return nodes[static_cast<std::size_t>(c.y) * width + c.x]; }
  float estimate(Cell c) const;
  // The open cell with the smallest f, the latest opened among equals; start when none is open.
  Cell takeCurrent();
  // Whether the current cell ends the search; a reached target moves the goal there.
  bool reaches(Cell current);
  void expandFrom(Cell current);
  // Whether the walker may step from one cell to its neighbour (dx, dy) of a w x h world.
  bool canStep(Cell from, int dx, int dy, int w, int h, bool hard_walker) const;
  // Opens the cell, or gives it a cheaper way in, from current at cost.
  void reach(Cell cell, Cell current, float cost);

  Object* object = nullptr;
  Object* target = nullptr;
  Cell start;
  Cell goal;
  int width = 0;
  int height = 0;
  // height rows of width nodes, row-major; empty when the search could not be set up.
  std::vector<Node> nodes;
  // A heap of entries, outdated ones among them; open_count counts the open cells.
  std::vector<Open> open;
  int open_count = 0;
  int opened_count = 0;
  std::vector<Cell> closed;
  bool found = false;
  long long effort = 0;
  // Blocked cells, and blocked middles of diagonal steps (at the corner the step passes).
  BlockedCells blocked{0, 0};
};

}  // namespace tx
