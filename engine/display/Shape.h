#pragma once

#include "tolvex/display/Color.h"
#include "tolvex/world/Vector.h"

namespace sf {
class CircleShape;
}

namespace tx {

enum ShapeType {
  UNDEFINED = -1,
  CIRCLE = 0,
  SQUARE = 1,
  TRIANGLE = 2,
};

// A filled figure drawn in pixels at an object's position, through one SFML shape shared by
// the whole program.
class Shape {
 public:
  Shape();

  // -1 to 2 are stored; anything else is logged and ignored.
  void setType(int new_type);
  int getType() const { return type; }
  void setColor(Color new_color) { color = new_color; }
  Color getColor() const { return color; }
  // Pixels.
  void setSize(float new_size) { size = new_size; }
  float getSize() const { return size; }
  void setOpacity(int new_opacity) { opacity = static_cast<unsigned char>(new_opacity); }
  int getOpacity() const { return opacity; }

  // Draws at the world position; nothing (and a level-5 line) without a window.
  void draw(Vector position);

  // The SFML figure every shape draws through, as the last draw left it (points, radius,
  // position in pixels, rotation, fill colour).
  static const sf::CircleShape& getFigure();

 private:
  // Shape the shared figure for one type at the pixel position p.
  void placeCircle(sf::CircleShape& figure, Vector p) const;
  void placeSquare(sf::CircleShape& figure, Vector p) const;
  void placeTriangle(sf::CircleShape& figure, Vector p) const;

  Color color = WHITE;
  // White until a draw converts another colour: CUSTOM before any draw shows white.
  unsigned char red = 255;
  unsigned char green = 255;
  unsigned char blue = 255;
  int type = CIRCLE;
  float size;
  unsigned char opacity = 255;
};

}  // namespace tx
