#include "FramePicture.h"

#include <cstdio>
#include <utility>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Text.hpp>

#include "tolvex/display/CellBatch.h"
#include "tolvex/display/CellGrid.h"

namespace {

// The default window: 1024 x 768 pixels for 80 x 24 cells, and the default font scale.
constexpr float CELL_WIDTH = 1024.0f / 80.0f;
constexpr float CELL_HEIGHT = 768.0f / 24.0f;
constexpr float FONT_SCALE = 2.0f;

}  // namespace

bool FramePicture::save(const tx::CapturedFrame& frame, const std::string& path) const {
  sf::Font font;
  if (!font.loadFromFile(font_path)) {
    std::fprintf(stderr, "frames: cannot load the font '%s'\n", font_path.c_str());
    return false;
  }
  const sf::Color background = tx::CellGrid::colorOfCode(frame.background);
  sf::RectangleShape rectangle(sf::Vector2f(CELL_WIDTH, CELL_HEIGHT));
  rectangle.setFillColor(background);
  sf::Text text;
  text.setFont(font);
  text.setStyle(sf::Text::Bold);
  // As the display sizes it: the font scale times the smaller cell side, in whole points.
  text.setCharacterSize(static_cast<unsigned int>(FONT_SCALE * CELL_WIDTH));
  const sf::Vector2f size(static_cast<float>(frame.getColumns()) * CELL_WIDTH,
                          static_cast<float>(frame.getRows()) * CELL_HEIGHT);
  sf::RenderTexture texture;
  if (!texture.create(static_cast<unsigned int>(size.x), static_cast<unsigned int>(size.y))) {
    std::fprintf(stderr, "frames: cannot make a %.0f x %.0f image\n", static_cast<double>(size.x),
                 static_cast<double>(size.y));
    return false;
  }
  texture.clear(background);
  tx::CellBatch batch(text, rectangle);
  const sf::FloatRect all(sf::Vector2f(0.0f, 0.0f), size);
  for (int row = 0; row < frame.getRows(); row++)
    for (int column = 0; column < frame.getColumns(); column++) {
      const auto at = static_cast<std::size_t>(column);
      const char code = frame.colors[static_cast<std::size_t>(row)][at];
      // No character shows there: only the background, which the texture already has.
      if (code == '.') continue;
      batch.add(tx::CellDrawing{sf::Vector2f(static_cast<float>(column) * CELL_WIDTH,
                                             static_cast<float>(row) * CELL_HEIGHT),
                                frame.characters[static_cast<std::size_t>(row)][at],
                                tx::CellGrid::colorOfCode(code)},
                all);
    }
  batch.draw(texture, sf::BlendAlpha);
  texture.display();
  if (!texture.getTexture().copyToImage().saveToFile(path)) {
    std::fprintf(stderr, "frames: cannot write '%s'\n", path.c_str());
    return false;
  }
  return true;
}
