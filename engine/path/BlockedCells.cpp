#include "tolvex/path/BlockedCells.h"

#include <algorithm>
#include <cmath>

#include "tolvex/core/ObjectList.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/SceneGraph.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

BlockedCells::BlockedCells(int width, int height)
    : cells{width, height, 0.0f, {}}, corners{width, height, 0.5f, {}} {
  const std::size_t places = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  cells.state.assign(places, UNDECIDED);
  corners.state.assign(places, UNDECIDED);
}

int BlockedCells::refresh(const Object* walker, Vector new_goal, bool with_corners) {
  const SceneGraph& graph = WorldManager::getInstance().getSceneGraph();
  if (valid && revision == graph.getSolidRevision() && walker_box == walker->getBox() &&
      goal == new_goal && (corners_valid || !with_corners)) {
    return 0;
  }
  valid = true;
  corners_valid = with_corners;
  revision = graph.getSolidRevision();
  walker_box = walker->getBox();
  goal = new_goal;
  std::fill(cells.state.begin(), cells.state.end(), UNDECIDED);
  std::fill(corners.state.begin(), corners.state.end(), UNDECIDED);
  const ObjectList& solid = graph.solidObjects();
  for (ObjectListIterator it(&solid); !it.isDone(); it.next()) {
    const Object* other = it.currentObject();
    // Only HARD objects block, and the first one in the list's order decides a place: an
    // obstacle covering the goal is what the walker is heading for, so it leaves it free.
    if (other == walker || other->getSolidness() != HARD) continue;
    const Box box = getWorldBox(other);
    const State decision = boxContainsPosition(box, goal) ? FREE : BLOCKED;
    mark(cells, box, decision);
    if (with_corners) mark(corners, box, decision);
  }
  return solid.getCount();
}

void BlockedCells::mark(Lattice& lattice, const Box& obstacle, State decision) {
  // boxIntersectsBox tests the axes apart, so the places it accepts are the product of the
  // places each axis accepts.
  hits_x.clear();
  axisHits(walker_box.getCorner().getX(), walker_box.getHorizontal(), obstacle.getCorner().getX(),
           obstacle.getHorizontal(), lattice.width, lattice.offset, hits_x);
  if (hits_x.empty()) return;
  hits_y.clear();
  axisHits(walker_box.getCorner().getY(), walker_box.getVertical(), obstacle.getCorner().getY(),
           obstacle.getVertical(), lattice.height, lattice.offset, hits_y);
  for (int y : hits_y) {
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(lattice.width);
    for (int x : hits_x) {
      State& place = lattice.state[row + static_cast<std::size_t>(x)];
      if (place == UNDECIDED) place = decision;
    }
  }
}

void BlockedCells::axisHits(float walker_start, float walker_extent, float start, float extent,
                            int count, float offset, std::vector<int>& hits) {
  const float end = start + extent;
  // The points that could meet, widened past any rounding; each is then tested exactly as a
  // collision query would.
  const float low = std::min(start, end) - walker_start - std::max(0.0f, walker_extent) - offset;
  const float high = std::max(start, end) - walker_start - std::min(0.0f, walker_extent) - offset;
  const float margin = 1e-3f + 1e-5f * (std::fabs(low) + std::fabs(high));
  int first = 0;
  int last = count - 1;
  // Truncation keeps first at or below, and last at or above, every point that can meet.
  if (std::isfinite(margin)) {
    const auto limit = static_cast<float>(count);
    first = std::max(first, static_cast<int>(std::clamp(low - margin, -1.0f, limit)));
    last = std::min(last, static_cast<int>(std::clamp(high + margin, -1.0f, limit)));
  }
  for (int i = first; i <= last; ++i) {
    // The walker's span placed at the point, as boxAt and boxIntersectsBox compute it.
    const float a1 = walker_start + (static_cast<float>(i) + offset);
    if (spansOverlap(a1, a1 + walker_extent, start, end)) hits.push_back(i);
  }
}

}  // namespace tx
