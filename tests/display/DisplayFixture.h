#pragma once

#include <SFML/Graphics.hpp>

#include "TestSupport.h"
#include "tolvex/core/Config.h"
#include "tolvex/display/CellBatch.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/display/ResourceManager.h"

namespace tx::test {

// The log started; starts the display with the given configuration and reads the window back.
class DisplayTest : public LoggedTest {
 protected:
  static void startDisplay(const std::string& config_text = "") {
    if (!config_text.empty()) Config::getInstance().loadConfig(config_text);
    ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
  }
  void TearDown() override {
    DisplayManager::getInstance().shutDown();
    LoggedTest::TearDown();
  }

  // Number of pixels of exactly this colour inside [x0, x1) x [y0, y1).
  static int countColor(const sf::Image& image, int x0, int y0, int x1, int y1, sf::Color color) {
    int count = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, static_cast<int>(image.getSize().y)); y++)
      for (int x = std::max(x0, 0); x < std::min(x1, static_cast<int>(image.getSize().x)); x++)
        if (image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)) == color) count++;
    return count;
  }

  // The back buffer: what was drawn since the last swap.
  static sf::Image windowImage() {
    const sf::RenderWindow& window = *DisplayManager::getInstance().getWindow();
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    return texture.copyToImage();
  }
  // The back buffer after clearing and one drawing.
  static sf::Image capture(const std::function<void()>& draw, sf::Color clear = sf::Color::Black) {
    DisplayManager::getInstance().getWindow()->clear(clear);
    draw();
    return windowImage();
  }

  // Characters drawn as the display draws each cell: background rectangle, then glyph (pixels).
  static void drawPlainly(const std::vector<CellDrawing>& drawings, sf::Color background) {
    sf::RenderWindow& window = *DisplayManager::getInstance().getWindow();
    sf::RectangleShape rectangle(sf::Vector2f(cellWidth(), cellHeight()));
    rectangle.setFillColor(background);
    sf::Text text("", DisplayManager::getInstance().getFont(), 25);
    text.setStyle(sf::Text::Bold);
    for (const CellDrawing& d : drawings) {
      rectangle.setPosition(d.position.x - cellWidth() / 10.0f, d.position.y + cellHeight() / 5.0f);
      text.setString(sf::String(d.ch)), text.setPosition(d.position), text.setFillColor(d.color);
      window.draw(rectangle), window.draw(text);
    }
  }

  // Pixels of two same-size images in which some channel differs by more than tolerance levels.
  static int differingPixels(const sf::Image& a, const sf::Image& b, int tolerance = 0) {
    const auto near = [tolerance](sf::Uint8 x, sf::Uint8 y) {
      return std::abs(x - y) <= tolerance;
    };
    int count = 0;
    for (std::size_t i = 0; i < a.getSize().x * a.getSize().y * 4; i += 4)
      count +=
          !std::equal(a.getPixelsPtr() + i, a.getPixelsPtr() + i + 4, b.getPixelsPtr() + i, near);
    return count;
  }

  // Pixels of the colour in cell (column, row) of 12.8 x 32, widened as glyphs overhang.
  static int inkInCell(const sf::Image& image, int column, int row, sf::Color color) {
    const int x = static_cast<int>(static_cast<float>(column) * 12.8f);
    return countColor(image, x - 3, row * 32, x + 16, row * 32 + 40, color);
  }
};

// The log and the resource manager started.
class ResourceTest : public LoggedTest {
 protected:
  void SetUp() override {
    LoggedTest::SetUp();
    ASSERT_EQ(ResourceManager::getInstance().startUp(), 0);
  }
  void TearDown() override {
    ResourceManager::getInstance().shutDown();
    LoggedTest::TearDown();
  }
};

}  // namespace tx::test
