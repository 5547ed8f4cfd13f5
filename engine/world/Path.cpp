#include "tolvex/world/Path.h"

namespace tx {

int Path::setIndex(int i) {
  if (i < 0 || i >= static_cast<int>(nodes.size())) return -1;
  index = i;
  return 0;
}

bool Path::isDone() const { return static_cast<unsigned>(index) >= nodes.size(); }

Vector Path::currentNode() const { return isDone() ? Vector() : nodes[index]; }

void Path::next() {
  if (index < static_cast<int>(nodes.size())) ++index;
}

}  // namespace tx
