#pragma once

#include "tolvex/world/Vector.h"

namespace tx {

// An axis-aligned rectangle in world cells: top-left corner and extents.
class Box {
 public:
  Box() = default;
  // The box from init_corner (top left), init_horizontal cells wide and init_vertical tall.
  Box(Vector init_corner, float init_horizontal, float init_vertical)
      : corner(init_corner), horizontal(init_horizontal), vertical(init_vertical) {}

  // The top-left corner; an object's box holds it as an offset from the object's position.
  Vector getCorner() const { return corner; }
  void setCorner(Vector new_corner) { corner = new_corner; }
  // Width in cells.
  float getHorizontal() const { return horizontal; }
  void setHorizontal(float new_horizontal) { horizontal = new_horizontal; }
  // Height in cells.
  float getVertical() const { return vertical; }
  void setVertical(float new_vertical) { vertical = new_vertical; }

  // Exact comparison of the four floats.
  bool operator==(const Box& other) const {
    return corner == other.corner && horizontal == other.horizontal && vertical == other.vertical;
  }
  bool operator!=(const Box& other) const { return !(*this == other); }

 private:
  Vector corner;
  float horizontal = 0.0f;
  float vertical = 0.0f;
};

// The box with its corner moved by where: a box kept relative to a position, placed there.
Box boxAt(Box box, Vector where);

// True when the closed intervals [a1, a2] and [b1, b2] share a point: either starts inside the
// other.
inline bool spansOverlap(float a1, float a2, float b1, float b2) {
  return (b1 <= a1 && a1 <= b2) || (a1 <= b1 && b1 <= a2);
}

// True when the boxes overlap on both axes (spansOverlap on each); touching edges and corners
// count.
bool boxIntersectsBox(const Box& a, const Box& b);

// True when p lies inside b, edges included.
bool boxContainsPosition(const Box& b, const Vector& p);

}  // namespace tx
