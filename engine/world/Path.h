#pragma once

#include <vector>

#include "tolvex/world/Vector.h"

namespace tx {

// Waypoints to follow and the index of the one being approached. Copies are deep.
class Path {
 public:
  Path() = default;

  // Replaces the waypoints (world cells); the index is unchanged.
  void setNodes(std::vector<Vector> new_nodes) { nodes = std::move(new_nodes); }
  // The waypoints, first to last.
  const std::vector<Vector>& getNodes() const { return nodes; }
  // The waypoint being approached, from 0.
  int getIndex() const { return index; }
  // -1 and no change unless 0 <= i < number of waypoints.
  int setIndex(int i);
  // True once the index has passed the last waypoint (a negative index counts as done).
  bool isDone() const;
  // The waypoint at the index, or (0, 0) when done.
  Vector currentNode() const;
  // Moves to the next waypoint, never beyond the end.
  void next();

 private:
  std::vector<Vector> nodes;
  int index = 0;
};

}  // namespace tx
