#include "display/Shape.h"

#include <algorithm>

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include "core/Config.h"
#include "core/LogManager.h"
#include "display/DisplayManager.h"

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

  const float px = p.getX();
  const float py = p.getY();
  switch (type) {
    case CIRCLE: {
      size_t points = 10;
      if (size < 3.0f) {
        points = 3;
      } else if (size <= 10.0f) {
        points = static_cast<size_t>(size);
      }
      figure.setPointCount(points);
      figure.setRadius(size);
      figure.setPosition(px - size * 0.5f, py - size * 0.5f);
      break;
    }
    case SQUARE: {
      // The rotation stays on the shared figure for whatever is drawn next.
      const float font_scale = Config::getInstance().getFontScale();
      figure.setPointCount(4);
      figure.setRotation(45.0f);
      figure.setRadius(font_scale > 0.0f ? size / font_scale : size);
      figure.setPosition(px + size * 0.5f, py - size / 1.75f);
      break;
    }
    case TRIANGLE:
      figure.setPointCount(3);
      figure.setRadius(size * 0.5f);
      figure.setPosition(px - size * 0.5f, py - size * 0.5f);
      break;
    default:
      break;
  }
  LogManager::getInstance().writeLog(20, "Shape::draw(): Drawing at (%.2f, %.2f)",
                                     static_cast<double>(px), static_cast<double>(py));
  window->draw(figure);
}

const sf::CircleShape& Shape::getFigure() { return sharedFigure(); }

}  // namespace tx
