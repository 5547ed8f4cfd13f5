#include "tolvex/path/PathFind.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "tolvex/core/LogManager.h"
#include "tolvex/path/PathManager.h"
#include "tolvex/world/Box.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

namespace {

// v without its fraction, held to the int range (NaN gives INT_MIN): a place far outside the
// world stays outside it instead of wrapping into it.
int toInt(float v) {
  if (!(v >= static_cast<float>(INT_MIN))) return INT_MIN;
  if (v >= static_cast<float>(INT_MAX)) return INT_MAX;
  return static_cast<int>(v);
}

PathFind::Cell toCell(Vector position) {
  PathFind::Cell c;
  c.x = toInt(std::floor(position.getX() + 0.5f));
  c.y = toInt(std::floor(position.getY() + 0.5f));
  return c;
}

Vector toPosition(PathFind::Cell c) {
  return Vector(static_cast<float>(c.x), static_cast<float>(c.y));
}

// The heap key: smallest f first, and among equal f the cell opened last. f is never negative,
// so its bits order as the numbers do.
std::uint64_t openKey(float f, int opened) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &f, sizeof bits);
  return static_cast<std::uint64_t>(bits) << 32U |
         (0xFFFFFFFFU - static_cast<std::uint32_t>(opened));
}

// The heap keeps the greatest entry on top, so the entry taken later is the lesser.
template <typename Open>
bool takenLater(const Open& a, const Open& b) {
  return a.key > b.key;
}

}  // namespace

PathFind::PathFind(Object* walker, Vector start_position, Vector goal_position, Object* init_target)
    : object(walker),
      target(init_target),
      start(toCell(start_position)),
      goal(toCell(goal_position)) {
  const Box boundary = WorldManager::getInstance().getBoundary();
  const int w = toInt(boundary.getHorizontal());
  const int h = toInt(boundary.getVertical());
  auto inside = [w, h](Cell c) { return c.x >= 0 && c.x < w && c.y >= 0 && c.y < h; };
  if (!object) {
    LogManager::getInstance().writeLog("PathFind::PathFind(): Error! no object to walk the path.");
  } else if (!inside(start) || !inside(goal)) {
    LogManager::getInstance().writeLog(
        "PathFind::PathFind(): Error! start (%d,%d) or goal (%d,%d) outside the %d x %d world.",
        start.x, start.y, goal.x, goal.y, w, h);
  } else if (static_cast<long long>(w) * h > MAX_PATH_CELLS) {
    LogManager::getInstance().writeLog(
        "PathFind::PathFind(): Error! the %d x %d world has more than the %d cells a search "
        "covers.",
        w, h, MAX_PATH_CELLS);
  } else {
    width = w;
    height = h;
    nodes.assign(static_cast<std::size_t>(w) * h, Node());
    blocked = BlockedCells(w, h);
    node(start).parent = start;
    node(start).f = estimate(start);
  }
  PathManager::getInstance().addPath(this);
}

PathFind::~PathFind() { PathManager::getInstance().removePath(this); }

void PathFind::clearObject() {
  object = nullptr;
  std::vector<Node>().swap(nodes);
  open.clear();
  open_count = 0;
}

float PathFind::estimate(Cell c) const {
  const float dx = static_cast<float>(c.x - goal.x);
  const float dy = static_cast<float>(c.y - goal.y);
  return std::sqrt(dx * dx + dy * dy);
}

int PathFind::cycleOnce() {
  if (nodes.empty()) {
    LogManager::getInstance().writeLog(
        "PathFind::cycleOnce(): node graph not allocated.  Cannot find path.");
    return 0;
  }
  const Cell current = takeCurrent();
  effort += 9;
  closed.push_back(current);
  node(current).in_closed = true;
  if (reaches(current)) return 2;
  expandFrom(current);
  return open_count == 0 ? 0 : 1;
}

PathFind::Cell PathFind::takeCurrent() {
  while (open_count > 0) {
    std::pop_heap(open.begin(), open.end(), takenLater<Open>);
    const Open top = open.back();
    open.pop_back();
    Node& n = node(top.cell);
    // An entry left behind when the cell was reached more cheaply, or after it was closed.
    if (!n.in_open || top.key != openKey(n.f, n.opened)) continue;
    n.in_open = false;
    --open_count;
    return top.cell;
  }
  return start;
}

bool PathFind::reaches(Cell current) {
  if (current == goal) found = true;
  if (target && boxIntersectsBox(getWorldBox(object, toPosition(current)),
                                 getWorldBox(target, toPosition(goal)))) {
    found = true;
    goal = current;
  }
  return found;
}

void PathFind::expandFrom(Cell current) {
  // The boundary may have shrunk since the nodes were made; it never grows past them.
  const Box boundary = WorldManager::getInstance().getBoundary();
  const int w = std::min(width, toInt(boundary.getHorizontal()));
  const int h = std::min(height, toInt(boundary.getVertical()));
  const bool hard_walker = object->getSolidness() == HARD;
  effort += blocked.refresh(object, toPosition(goal), hard_walker);
  const float g_current = node(current).g;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if ((dx == 0 && dy == 0) || !canStep(current, dx, dy, w, h, hard_walker)) continue;
      const float cost = g_current + std::sqrt(static_cast<float>(dx * dx + dy * dy));
      reach(Cell{current.x + dx, current.y + dy}, current, cost);
    }
  }
}

bool PathFind::canStep(Cell from, int dx, int dy, int w, int h, bool hard_walker) const {
  const Cell to{from.x + dx, from.y + dy};
  if (to.x < 0 || to.x >= w || to.y < 0 || to.y >= h) return false;
  if (node(to).in_closed || blocked.isBlocked(to.x, to.y)) return false;
  if (dx == 0 || dy == 0) return true;
  const bool side_x = blocked.isBlocked(to.x, from.y);
  const bool side_y = blocked.isBlocked(from.x, to.y);
  if (side_x && side_y) return false;
  // A hard walker cannot squeeze past a corner that the move would clip: the middle of the
  // step, where its box overlaps the blocked side cell, must be free too.
  return !(hard_walker && (side_x || side_y) &&
           blocked.isCornerBlocked(std::min(from.x, to.x), std::min(from.y, to.y)));
}

void PathFind::reach(Cell cell, Cell current, float cost) {
  Node& next = node(cell);
  const bool was_open = next.in_open;
  if (was_open && cost > next.g) return;
  const float f = cost + estimate(cell);
  if (!was_open) {
    next.in_open = true;
    next.opened = opened_count++;
    ++open_count;
  }
  // An open cell whose f stays keeps its entry; a smaller f needs a new one.
  if (!was_open || f != next.f) {
    open.push_back(Open{openKey(f, next.opened), cell});
    std::push_heap(open.begin(), open.end(), takenLater<Open>);
  }
  next.parent = current;
  next.g = cost;
  next.f = f;
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
