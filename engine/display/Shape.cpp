#include "tolvex/display/Shape.h"

#include <algorithm>

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include "tolvex/core/Config.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/DisplayManager.h"

namespace tx {

namespace {

// One figure for the whole program, made on first use: drawing allocates nothing.
sf::CircleShape& sharedFigure() {
  static sf::CircleShape figure(0.0f, 30);
  return figure;
}

}  // namespace

Shape::Shape()
    : size(Config::getInstance().getFontScale() *
           static_cast<float>(static_cast<int>(std::min(cellWidth(), cellHeight())))) {}

void Shape::setType(int new_type) {
  if (new_type < UNDEFINED || new_type > TRIANGLE) {
    LogManager::getInstance().writeLog("Shape::setType(): Unknown shape type %d. Ignoring.",
                                       new_type);
    return;
  }
  type = new_type;
}

void Shape::draw(Vector position) {
  sf::RenderWindow* window = DisplayManager::getInstance().getWindow();
  if (window == nullptr) {
    LogManager::getInstance().writeLog(5, "Shape::draw(): DisplayManager window not defined.");
    return;
  }
  const Vector p = spacesToPixels(worldToView(position));
  sf::CircleShape& figure = sharedFigure();
  if (color != CUSTOM) {
    colorToRGB(color, red, green, blue);
  }
  figure.setFillColor(sf::Color(red, green, blue, opacity));
  // An undefined type leaves the figure as the previous draw placed it.
  switch (type) {
    case CIRCLE:
      placeCircle(figure, p);
      break;
    case SQUARE:
      placeSquare(figure, p);
      break;
    case TRIANGLE:
      placeTriangle(figure, p);
      break;
    default:
      break;
  }
  LogManager::getInstance().writeLog(20, "Shape::draw(): Drawing at (%.2f, %.2f)",
                                     static_cast<double>(p.getX()), static_cast<double>(p.getY()));
  window->draw(figure);
}

// SFML places a figure by the corner of its bounding box; p is the pixel corner of the cell.
void Shape::placeCircle(sf::CircleShape& figure, Vector p) const {
  size_t points = 10;
  if (size < 3.0f) {
    points = 3;
  } else if (size <= 10.0f) {
    points = static_cast<size_t>(size);
  }
  figure.setPointCount(points);
  figure.setRadius(size);
  figure.setPosition(p.getX() - size * 0.5f, p.getY() - size * 0.5f);
}

// The rotation stays on the shared figure for whatever is drawn next.
void Shape::placeSquare(sf::CircleShape& figure, Vector p) const {
  const float font_scale = Config::getInstance().getFontScale();
  figure.setPointCount(4);
  figure.setRotation(45.0f);
  figure.setRadius(font_scale > 0.0f ? size / font_scale : size);
  figure.setPosition(p.getX() + size * 0.5f, p.getY() - size / 1.75f);
}

void Shape::placeTriangle(sf::CircleShape& figure, Vector p) const {
  figure.setPointCount(3);
  figure.setRadius(size * 0.5f);
  figure.setPosition(p.getX() - size * 0.5f, p.getY() - size * 0.5f);
}

const sf::CircleShape& Shape::getFigure() { return sharedFigure(); }

}  // namespace tx
