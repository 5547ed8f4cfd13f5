#pragma once

#include "tolvex/display/Color.h"
#include "tolvex/world/Vector.h"

namespace sf {
class CircleShape;
}

namespace tx {

// The figures a Shape draws; UNDEFINED draws the shared figure as the last draw of any shape
// left it.
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
  // A white circle as large as a cell's shorter side times the font scale, fully opaque.
  Shape();

  // A ShapeType value: -1 to 2 are stored; anything else is logged and ignored.
  void setType(int new_type);
  int getType() const { return type; }
  // The fill colour; CUSTOM keeps the components of the last named colour drawn.
  void setColor(Color new_color) { color = new_color; }
  Color getColor() const { return color; }
  // Pixels.
  void setSize(float new_size) { size = new_size; }
  float getSize() const { return size; }
  // 0 (invisible) to 255 (opaque); values outside are cut to their low 8 bits.
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
