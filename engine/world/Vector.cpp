#include "tolvex/world/Vector.h"

#include <cmath>

namespace tx {

float Vector::getMagnitude() const { return std::sqrt(x * x + y * y); }

void Vector::normalize() {
  const float magnitude = getMagnitude();
  if (magnitude > 0.0f) {
    x /= magnitude;
    y /= magnitude;
  }
}

void Vector::scale(float s) {
  x *= s;
  y *= s;
}

Vector& Vector::operator+=(const Vector& other) {
  x += other.x;
  y += other.y;
  return *this;
}

float distance(const Vector& a, const Vector& b) {
  const float dx = a.getX() - b.getX();
  const float dy = a.getY() - b.getY();
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace tx
