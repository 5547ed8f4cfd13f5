#pragma once

#include <SFML/Graphics.hpp>

#include "TestSupport.h"
#include "core/Config.h"
#include "core/LogManager.h"
#include "display/DisplayManager.h"

namespace tx::test {

// Starts the log and the display with the given configuration text (defaults when empty) and
// reads the window back for pixel checks.
class DisplayTest : public EngineTest {
 protected:
  void startDisplay(const std::string& config_text = "") {
    if (!config_text.empty()) Config::getInstance().loadConfig(config_text);
    startLog();
    ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
  }

  // Starts the log alone, flushing every line so that tests can read it at once.
  static void startLog() {
    ASSERT_EQ(LogManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
  }

  void TearDown() override {
    DisplayManager::getInstance().shutDown();
    LogManager::getInstance().shutDown();
    EngineTest::TearDown();
  }

  // What has been drawn since the last swap (the back buffer).
  static sf::Image drawnImage() {
    sf::RenderWindow& window = *DisplayManager::getInstance().getWindow();
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    return texture.copyToImage();
  }

  // Number of pixels of exactly this colour inside [x0, x1) x [y0, y1).
  static int countColor(const sf::Image& image, int x0, int y0, int x1, int y1, sf::Color color) {
    int count = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, static_cast<int>(image.getSize().y)); y++)
      for (int x = std::max(x0, 0); x < std::min(x1, static_cast<int>(image.getSize().x)); x++)
        if (image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)) == color) count++;
    return count;
  }

  // Pixels that are not the background colour anywhere in the image.
  static int countInk(const sf::Image& image, sf::Color background = sf::Color::Black) {
    const sf::Vector2u size = image.getSize();
    return static_cast<int>(size.x * size.y) -
           countColor(image, 0, 0, static_cast<int>(size.x), static_cast<int>(size.y), background);
  }
};

}  // namespace tx::test
