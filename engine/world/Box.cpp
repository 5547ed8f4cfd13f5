#include "tolvex/world/Box.h"

namespace tx {

Box boxAt(Box box, Vector where) {
  box.setCorner(box.getCorner() + where);
  return box;
}

bool boxIntersectsBox(const Box& a, const Box& b) {
  const float ax1 = a.getCorner().getX();
  const float ay1 = a.getCorner().getY();
  const float bx1 = b.getCorner().getX();
  const float by1 = b.getCorner().getY();
  return spansOverlap(ax1, ax1 + a.getHorizontal(), bx1, bx1 + b.getHorizontal()) &&
         spansOverlap(ay1, ay1 + a.getVertical(), by1, by1 + b.getVertical());
}

bool boxContainsPosition(const Box& b, const Vector& p) {
  const float x1 = b.getCorner().getX();
  const float y1 = b.getCorner().getY();
  return x1 <= p.getX() && p.getX() <= x1 + b.getHorizontal() && y1 <= p.getY() &&
         p.getY() <= y1 + b.getVertical();
}

}  // namespace tx
