#pragma once

#include <cstddef>
#include <vector>

#include "world/Path.h"
#include "world/Vector.h"

namespace tx {

class Object;

// An incremental A* search over the world's cells for one walking object. Cells are whole
// world coordinates (an object at (x, y) stands in cell (x, y)); the grid spans 0 <= x < width
// and 0 <= y < height of the world boundary. A cell is blocked where the walker would touch a
// HARD object that does not cover the goal. Steps run through the path manager's cycle.
class PathFind {
 public:
  // A cell of the grid.
  struct Cell {
    int x = 0;
    int y = 0;
    bool operator==(const Cell& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Cell& other) const { return !(*this == other); }
  };

  // Search state of one cell.
  struct Node {
    float g = 0.0f;
    float f = 0.0f;
    Cell parent;
    bool in_open = false;
    bool in_closed = false;
    // Whether the cell was blocked when last tested, valid while blocked_stamp matches.
    bool blocked = false;
    int blocked_stamp = 0;
  };

  // Starts a search for walker from start to goal (positions rounded to the nearest cell) and
  // adds it to the path manager. With a target, the search also ends where the walker's box
  // would touch the target's box placed at the goal. Neither object is owned; the caller owns
  // the search. When walker is null or a cell lies outside the grid, one log line is written,
  // no nodes are made and the search reports status 0 at its first step.
  PathFind(Object* walker, Vector start, Vector goal, Object* target = nullptr);
  // Leaves the path manager's list if still there.
  ~PathFind();
  PathFind(const PathFind&) = delete;
  PathFind& operator=(const PathFind&) = delete;

  // One search step: 0 failed (no path, or no nodes), 1 still searching, 2 found.
  int cycleOnce();
  // The cells from start to goal as positions, index 0; empty until found.
  Path getPath() const;

  Object* getObject() const { return object; }
  Object* getTarget() const { return target; }
  // Drops the target (the search then ends only at the goal cell).
  void clearTarget() { target = nullptr; }
  Cell getStart() const { return start; }
  // The goal; once a target is reached, the cell where it was reached.
  Cell getGoal() const { return goal; }
  bool isFound() const { return found; }
  bool hasNodes() const { return !nodes.empty(); }
  // Grid size in cells (0 when no nodes were made).
  int getWidth() const { return width; }
  int getHeight() const { return height; }
  // Cells expanded so far.
  int getClosedCount() const { return static_cast<int>(closed.size()); }

 private:
  Node& node(Cell c) { return nodes[static_cast<std::size_t>(c.y) * width + c.x]; }
  const Node& node(Cell c) const { return nodes[static_cast<std::size_t>(c.y) * width + c.x]; }
  // Whether the walker's box placed at where meets a HARD object that does not cover the goal.
  bool isBlockedAt(Vector where) const;
  float estimate(Cell c) const;

  Object* object = nullptr;
  Object* target = nullptr;
  Cell start;
  Cell goal;
  int width = 0;
  int height = 0;
  // height rows of width nodes, row-major; empty when the search could not be set up.
  std::vector<Node> nodes;
  std::vector<Cell> open;
  std::vector<Cell> closed;
  bool found = false;
  // Stamps for single steps taken outside the path manager's cycle, counting down from -1.
  int local_stamp = 0;
};

}  // namespace tx
