#pragma once

// The path search written the plain way, as the reference the engine's search must agree with
// (tests) and be measured against (bench/pathfind): the open list is scanned for the smallest f,
// the cell opened last winning among equals, and every cell asks the world's collision query
// whether it is blocked. No target. Header-only, built on the engine alone.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tolvex/core/ObjectList.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/world/Box.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {

class PlainPathSearch {
 public:
  // Cells are whole positions inside the world boundary, as PathFind takes them.
  PlainPathSearch(Object* init_walker, int start_x, int start_y, int goal_x, int goal_y)
      : walker(init_walker),
        width(static_cast<int>(WorldManager::getInstance().getBoundary().getHorizontal())),
        height(static_cast<int>(WorldManager::getInstance().getBoundary().getVertical())),
        start{start_x, start_y},
        goal{goal_x, goal_y},
        nodes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    node(start).parent = start;
  }

  // Steps to the end: 2 found, 0 no path.
  int run() {
    int r = 1;
    while (r == 1) r = step();
    return r;
  }

  // One step, as PathFind::cycleOnce: 2 found, 1 searching, 0 no path.
  int step() {
    ++steps;
    const Cell current = takeCurrent();
    node(current).closed = true;
    if (current == goal) {
      found = true;
      return 2;
    }
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const Cell next{current.x + dx, current.y + dy};
        if ((dx == 0 && dy == 0) || !canStep(current, next)) continue;
        reach(next, current, node(current).g + std::sqrt(static_cast<float>(dx * dx + dy * dy)));
      }
    }
    return open_cells.empty() ? 0 : 1;
  }

  // The cells from start to goal, empty when none was found.
  std::vector<Vector> path() const {
    std::vector<Vector> cells;
    if (!found) return cells;
    for (Cell c = goal; !(c == start); c = node(c).parent) cells.push_back(at(c));
    cells.push_back(at(start));
    std::reverse(cells.begin(), cells.end());
    return cells;
  }

  int steps = 0;

 private:
  struct Cell {
    int x;
    int y;
    bool operator==(const Cell& other) const { return x == other.x && y == other.y; }
  };
  struct Node {
    float g = 0.0f;
    float f = 0.0f;
    Cell parent{0, 0};
    bool open = false;
    bool closed = false;
  };

  Node& node(Cell c) { return nodes[static_cast<std::size_t>(c.y * width + c.x)]; }
  const Node& node(Cell c) const { return nodes[static_cast<std::size_t>(c.y * width + c.x)]; }
  static Vector at(Cell c) { return Vector(static_cast<float>(c.x), static_cast<float>(c.y)); }

  // The first HARD object the walker would meet there blocks, unless it covers the goal.
  bool blockedAt(Vector where) const {
    const ObjectList hits = WorldManager::getInstance().getCollisions(walker, where);
    for (ObjectListIterator it(&hits); !it.isDone(); it.next()) {
      if (it.currentObject()->getSolidness() != HARD) continue;
      return !boxContainsPosition(getWorldBox(it.currentObject()), at(goal));
    }
    return false;
  }

  // The open cell with the smallest f, scanning from the last: the latest opened wins ties.
  Cell takeCurrent() {
    if (open_cells.empty()) return start;
    std::size_t best = open_cells.size() - 1;
    for (std::size_t i = open_cells.size(); i-- > 0;) {
      if (node(open_cells[i]).f < node(open_cells[best]).f) best = i;
    }
    const Cell current = open_cells[best];
    open_cells.erase(open_cells.begin() + static_cast<std::ptrdiff_t>(best));
    node(current).open = false;
    return current;
  }

  // Opens the cell, or gives it a cheaper way in, from current at cost.
  void reach(Cell next, Cell current, float cost) {
    Node& n = node(next);
    if (n.open && cost > n.g) return;
    if (!n.open) open_cells.push_back(next);
    n.open = true;
    n.parent = current;
    n.g = cost;
    const float ex = static_cast<float>(next.x - goal.x);
    const float ey = static_cast<float>(next.y - goal.y);
    n.f = cost + std::sqrt(ex * ex + ey * ey);
  }

  bool canStep(Cell from, Cell to) const {
    if (to.x < 0 || to.x >= width || to.y < 0 || to.y >= height) return false;
    if (node(to).closed || blockedAt(at(to))) return false;
    if (to.x == from.x || to.y == from.y) return true;
    const bool side_x = blockedAt(at(Cell{to.x, from.y}));
    const bool side_y = blockedAt(at(Cell{from.x, to.y}));
    if (side_x && side_y) return false;
    // A HARD walker must also fit through the middle of the step.
    const Vector middle(static_cast<float>(from.x) + 0.5f * static_cast<float>(to.x - from.x),
                        static_cast<float>(from.y) + 0.5f * static_cast<float>(to.y - from.y));
    return !(walker->getSolidness() == HARD && (side_x || side_y) && blockedAt(middle));
  }

  Object* walker;
  int width;
  int height;
  Cell start;
  Cell goal;
  std::vector<Node> nodes;
  std::vector<Cell> open_cells;
  bool found = false;
};

}  // namespace tx::test
