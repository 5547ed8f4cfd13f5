#pragma once

// The plain search the engine's must match (tests) and beat (bench): the smallest f is scanned for,
// the latest opened winning ties, and every cell asks the world's collision query. No target.
#include <cmath>
#include <vector>

#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {

class PlainPathSearch {
 public:
  // Cells are whole positions inside the world boundary, as PathFind takes them.
  PlainPathSearch(Object* init_walker, int start_x, int start_y, int goal_x, int goal_y)
      : walker(init_walker),
        width(static_cast<int>(WorldManager::getInstance().getBoundary().getHorizontal())),
        height(static_cast<int>(WorldManager::getInstance().getBoundary().getVertical())),
        start(start_y * width + start_x),
        goal(goal_y * width + goal_x),
        nodes(static_cast<std::size_t>(width * height)) {}

  // Steps to the end: 2 found, 0 no path.
  int run() {
    for (;;)
      if (const int r = step(); r != 1) return r;
  }

  // One step, as PathFind::cycleOnce: 2 found, 1 searching, 0 no path.
  int step() {
    ++steps;
    int current = start;
    if (!open_cells.empty()) {
      auto best = open_cells.end() - 1;
      for (auto it = best; it != open_cells.begin();)
        if (nodes[*--it].f < nodes[*best].f) best = it;
      current = *best;
      open_cells.erase(best);
    }
    nodes[current].closed = true;
    if (current == goal) return found = true, 2;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        if ((dx == 0 && dy == 0) || !canStep(current, dx, dy)) continue;
        // Opens the cell, or gives it a cheaper way in.
        const int next = current + dy * width + dx;
        const float cost = nodes[current].g + std::sqrt(static_cast<float>(dx * dx + dy * dy));
        if (nodes[next].open && cost > nodes[next].g) continue;
        if (!nodes[next].open) open_cells.push_back(next);
        const float ex = static_cast<float>(next % width - goal % width);
        const float ey = static_cast<float>(next / width - goal / width);
        nodes[next] = Node{cost, cost + std::sqrt(ex * ex + ey * ey), current, true, false};
      }
    return open_cells.empty() ? 0 : 1;
  }

  // The cells from start to goal, empty when none was found.
  std::vector<Vector> path() const {
    std::vector<Vector> cells;
    for (int c = goal; found; c = nodes[c].parent) {
      cells.insert(cells.begin(), Vector(c % width, c / width));
      if (c == start) break;
    }
    return cells;
  }

  int steps = 0;

 private:
  struct Node {
    float g = 0.0f, f = 0.0f;
    int parent = 0;
    bool open = false, closed = false;
  };

  // The first HARD object the walker would meet there blocks, unless it covers the goal.
  bool blockedAt(Vector where) const {
    const ObjectList hits = WorldManager::getInstance().getCollisions(walker, where);
    for (ObjectListIterator it(&hits); !it.isDone(); it.next())
      if (it.currentObject()->getSolidness() == HARD)
        return !boxContainsPosition(getWorldBox(it.currentObject()),
                                    Vector(goal % width, goal / width));
    return false;
  }

  bool canStep(int from, int dx, int dy) const {
    const int fx = from % width, fy = from / width, x = fx + dx, y = fy + dy;
    if (x < 0 || x >= width || y < 0 || y >= height) return false;
    if (nodes[y * width + x].closed || blockedAt(Vector(x, y))) return false;
    if (dx == 0 || dy == 0) return true;
    const bool side_x = blockedAt(Vector(x, fy)), side_y = blockedAt(Vector(fx, y));
    // A HARD walker must also fit through the middle of the step.
    return !(side_x && side_y) && !(walker->getSolidness() == HARD && (side_x || side_y) &&
                                    blockedAt(Vector(fx + 0.5f * dx, fy + 0.5f * dy)));
  }

  Object* walker;
  int width, height, start, goal;
  std::vector<Node> nodes;
  std::vector<int> open_cells;
  bool found = false;
};

}  // namespace tx::test
