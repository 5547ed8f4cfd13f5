#pragma once

namespace tx {

// A point or displacement in world cells; y grows downward (row 0 is the top).
class Vector {
 public:
  Vector() = default;
  // The vector (init_x, init_y), in cells.
  Vector(float init_x, float init_y) : x(init_x), y(init_y) {}

  // The components, in cells: x to the right, y downward.
  float getX() const { return x; }
  float getY() const { return y; }
  void setX(float new_x) { x = new_x; }
  void setY(float new_y) { y = new_y; }
  void setXY(float new_x, float new_y) {
    x = new_x;
    y = new_y;
  }

  // The length, in cells.
  float getMagnitude() const;
  // Divides both components by the magnitude; a zero vector stays zero.
  void normalize();
  // Multiplies both components by s.
  void scale(float s);

  // Component-wise sum and difference.
  Vector operator+(const Vector& other) const { return Vector(x + other.x, y + other.y); }
  Vector operator-(const Vector& other) const { return Vector(x - other.x, y - other.y); }
  Vector& operator+=(const Vector& other);
  // Exact comparison of both components.
  bool operator==(const Vector& other) const { return x == other.x && y == other.y; }
  bool operator!=(const Vector& other) const { return !(*this == other); }

 private:
  float x = 0.0f;
  float y = 0.0f;
};

// Euclidean distance between two points, in cells.
float distance(const Vector& a, const Vector& b);

}  // namespace tx
