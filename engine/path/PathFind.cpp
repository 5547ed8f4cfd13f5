#include "path/PathFind.h"

#include <algorithm>
#include <cmath>

#include "core/LogManager.h"
#include "core/ObjectListIterator.h"
#include "path/PathManager.h"
#include "world/Box.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace tx {

namespace {

PathFind::Cell toCell(Vector position) {
  PathFind::Cell c;
  c.x = static_cast<int>(std::floor(position.getX() + 0.5f));
  c.y = static_cast<int>(std::floor(position.getY() + 0.5f));
  return c;
}

Vector toPosition(PathFind::Cell c) {
  return Vector(static_cast<float>(c.x), static_cast<float>(c.y));
}

}  // namespace

PathFind::PathFind(Object* walker, Vector start_position, Vector goal_position, Object* init_target)
    : object(walker),
      target(init_target),
      start(toCell(start_position)),
      goal(toCell(goal_position)) {
  const Box boundary = WorldManager::getInstance().getBoundary();
  const int w = static_cast<int>(boundary.getHorizontal());
  const int h = static_cast<int>(boundary.getVertical());
  auto inside = [w, h](Cell c) { return c.x >= 0 && c.x < w && c.y >= 0 && c.y < h; };
  if (!object) {
    LogManager::getInstance().writeLog("PathFind::PathFind(): Error! no object to walk the path.");
  } else if (!inside(start) || !inside(goal)) {
    LogManager::getInstance().writeLog(
        "PathFind::PathFind(): Error! start (%d,%d) or goal (%d,%d) outside the %d x %d world.",
        start.x, start.y, goal.x, goal.y, w, h);
  } else {
    width = w;
    height = h;
    nodes.assign(static_cast<std::size_t>(w) * h, Node());
    node(start).parent = start;
    node(start).f = estimate(start);
  }
  PathManager::getInstance().addPath(this);
}

PathFind::~PathFind() { PathManager::getInstance().removePath(this); }

float PathFind::estimate(Cell c) const {
  const float dx = static_cast<float>(c.x - goal.x);
  const float dy = static_cast<float>(c.y - goal.y);
  return std::sqrt(dx * dx + dy * dy);
}

bool PathFind::isBlockedAt(Vector where) const {
  const ObjectList collisions = WorldManager::getInstance().getCollisions(object, where);
  ObjectListIterator it(&collisions);
  for (it.first(); !it.isDone(); it.next()) {
    const Object* other = it.currentObject();
    if (other->getSolidness() != HARD) continue;
    // An obstacle covering the goal is what the walker is heading for, so it never blocks.
    return !boxContainsPosition(getWorldBox(other), toPosition(goal));
  }
  return false;
}

int PathFind::cycleOnce() {
  if (nodes.empty()) {
    LogManager::getInstance().writeLog(
        "PathFind::cycleOnce(): node graph not allocated.  Cannot find path.");
    return 0;
  }

  Cell current = start;
  if (!open.empty()) {
    // Among equal f the cell appended last wins.
    std::size_t best = open.size() - 1;
    for (std::size_t i = open.size(); i-- > 0;) {
      if (node(open[i]).f < node(open[best]).f) best = i;
    }
    current = open[best];
    open.erase(open.begin() + static_cast<std::ptrdiff_t>(best));
    node(current).in_open = false;
  }
  closed.push_back(current);
  node(current).in_closed = true;

  if (current == goal) found = true;
  if (target && boxIntersectsBox(getWorldBox(object, toPosition(current)),
                                 getWorldBox(target, toPosition(goal)))) {
    found = true;
    goal = current;
  }
  if (found) return 2;

  // The boundary may have shrunk since the nodes were made; it never grows past them.
  const Box boundary = WorldManager::getInstance().getBoundary();
  const int w = std::min(width, static_cast<int>(boundary.getHorizontal()));
  const int h = std::min(height, static_cast<int>(boundary.getVertical()));

  // A cell is tested for obstacles once per stamp: within one cycle of the path manager, or
  // within this step when it is taken outside a cycle.
  int stamp = PathManager::getInstance().getCycleStamp();
  if (stamp < 0) stamp = --local_stamp;
  auto isBlocked = [&](int dx, int dy) {
    Node& n = node(Cell{current.x + dx, current.y + dy});
    if (n.blocked_stamp != stamp) {
      n.blocked = isBlockedAt(
          Vector(static_cast<float>(current.x + dx), static_cast<float>(current.y + dy)));
      n.blocked_stamp = stamp;
    }
    return n.blocked;
  };
  const bool hard_walker = object->getSolidness() == HARD;
  const float g_current = node(current).g;

  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (dx == 0 && dy == 0) continue;
      const Cell n{current.x + dx, current.y + dy};
      if (n.x < 0 || n.x >= w || n.y < 0 || n.y >= h) continue;
      Node& next = node(n);
      if (next.in_closed) continue;
      if (isBlocked(dx, dy)) continue;
      if (dx != 0 && dy != 0) {
        const bool side_x = isBlocked(dx, 0);
        const bool side_y = isBlocked(0, dy);
        if (side_x && side_y) continue;
        // A hard walker cannot squeeze past a corner that the move would clip: test the
        // middle of the step too, where its box overlaps the blocked side cell.
        if (hard_walker && (side_x || side_y) &&
            isBlockedAt(Vector(static_cast<float>(current.x) + 0.5f * static_cast<float>(dx),
                               static_cast<float>(current.y) + 0.5f * static_cast<float>(dy)))) {
          continue;
        }
      }
      const float cost = g_current + std::sqrt(static_cast<float>(dx * dx + dy * dy));
      if (next.in_open) {
        if (cost > next.g) continue;
      } else {
        open.push_back(n);
        next.in_open = true;
      }
      next.parent = current;
      next.g = cost;
      next.f = cost + estimate(n);
    }
  }
  return open.empty() ? 0 : 1;
}

Path PathFind::getPath() const {
  Path path;
  if (!found || nodes.empty()) return path;
  std::vector<Vector> cells;
  Cell c = goal;
  // The walk is bounded by the grid size so that a broken parent chain cannot loop.
  for (std::size_t guard = nodes.size(); c != start && guard > 0; --guard) {
    cells.push_back(toPosition(c));
    c = node(c).parent;
  }
  cells.push_back(toPosition(start));
  std::reverse(cells.begin(), cells.end());
  path.setNodes(std::move(cells));
  return path;
}

}  // namespace tx
