#include "tolvex/display/DisplayManager.h"

#include <array>

#include "DisplayFixture.h"
#include "XInput.h"
#include "tolvex/core/utility.h"
#include "tolvex/display/InputManager.h"
#include "tolvex/display/Shape.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {
namespace {

// What the X server shows in the window: the frame made visible by the last swap.
sf::Image shownImage() {
  int width = 0, height = 0;
  const auto pixels =
      XInput().pixels(DisplayManager::getInstance().getWindow()->getSystemHandle(), width, height);
  sf::Image image;
  image.create(static_cast<unsigned>(width), static_cast<unsigned>(height));
  for (std::size_t i = 0; i < pixels.size(); i++)
    image.setPixel(static_cast<unsigned>(i % width), static_cast<unsigned>(i / width),
                   sf::Color(static_cast<sf::Uint32>(pixels[i] << 8 | 0xff)));
  return image;
}

// The results of every drawing call added up: -5 when each one is refused.
int drawEverything() {
  DisplayManager& display = DisplayManager::getInstance();
  return display.drawCharacter(Vector(1.0f, 1.0f), 'a', RED) +
         display.drawCharacter(Vector(1.0f, 1.0f), 'a', 1, 2, 3) +
         display.drawText(Vector(1.0f, 1.0f), "abc", ALIGN_LEFT, RED) + display.flush() +
         display.swapBuffers();
}

using DisplayManagerTest = DisplayTest;

// A caller that kept the window pointer sees nothing until the batch is flushed; positions are
// relative to the view; an unknown colour draws white.
TEST_F(DisplayManagerTest, CharacterIsDrawnAtItsCellInTheViewOnceFlushed) {
  startDisplay();
  DisplayManager& display = DisplayManager::getInstance();
  sf::RenderWindow* window = display.getWindow();
  WorldManager::getInstance().setView(Box(Vector(10.0f, 3.0f), 80.0f, 24.0f));
  ASSERT_EQ(display.drawCharacter(Vector(15.0f, 5.0f), '#', 255, 0, 0), 0);
  EXPECT_EQ(display.drawCharacter(Vector(30.0f, 7.0f), '#', static_cast<Color>(42)), 0);
  sf::Texture texture;
  texture.create(1024, 768), texture.update(*window);
  EXPECT_EQ(countColor(texture.copyToImage(), 0, 0, 1024, 768, sf::Color::Black), 1024 * 768);
  EXPECT_EQ(display.flush(), 0);
  const sf::Image image = windowImage();
  EXPECT_GT(inkInCell(image, 5, 2, sf::Color::Red), 20);
  EXPECT_GT(inkInCell(image, 20, 4, sf::Color::White), 20);
  EXPECT_EQ(inkInCell(image, 15, 5, sf::Color::Red), 0);
}

// Each named colour reaches the window's pixels as its own RGB, in its own cell only (black on
// white); a swap shows the frame drawn and clears, so the next swap shows an empty window.
TEST_F(DisplayManagerTest, NamedColoursAreDrawnInTheirRGB) {
  const std::pair<Color, sf::Color> named[] = {
      {BLACK, sf::Color(0, 0, 0)},    {RED, sf::Color(255, 0, 0)},
      {GREEN, sf::Color(0, 255, 0)},  {YELLOW, sf::Color(255, 255, 0)},
      {BLUE, sf::Color(0, 0, 255)},   {MAGENTA, sf::Color(255, 0, 255)},
      {CYAN, sf::Color(0, 255, 255)}, {WHITE, sf::Color(255, 255, 255)}};
  for (const auto& [background, name] :
       {std::pair<Color, const char*>{BLACK, "black"}, {WHITE, "white"}}) {
    SCOPED_TRACE(std::string("on ") + name);
    DisplayManager::getInstance().shutDown();
    startDisplay(std::string("window_background_color:") + name + ",");
    for (int i = 0; i < 8; i++)
      DisplayManager::getInstance().drawCharacter(Vector(4.0f * i + 2.0f, 2.0f), '#',
                                                  named[i].first);
    ASSERT_EQ(DisplayManager::getInstance().swapBuffers(), 0);
    const sf::Image shown = shownImage();
    for (int i = 0; i < 8; i++) {
      const auto& [color, rgb] = named[i];
      if (color == background) continue;
      const int ink = inkInCell(shown, 4 * i + 2, 2, rgb);
      EXPECT_GT(ink, 20) << "colour " << color;
      EXPECT_EQ(countColor(shown, 0, 0, 1024, 768, rgb), ink) << "colour " << color;
    }
    ASSERT_EQ(DisplayManager::getInstance().swapBuffers(), 0);
    EXPECT_EQ(countColor(shownImage(), 0, 0, 1024, 768, named[background].second), 1024 * 768);
  }
}

// Headless, the display keeps its geometry and refuses every drawing silently; a failed start-up
// is logged, and drawing before start-up is refused with one line per call.
TEST_F(DisplayManagerTest, HeadlessOrFailedStartUpDrawsNothing) {
  DisplayManager& display = DisplayManager::getInstance();
  startDisplay("headless:true,window_horizontal_chars:40,");
  EXPECT_TRUE(display.getWindow() == nullptr && display.getHorizontalCells() == 40);
  EXPECT_FLOAT_EQ(cellWidth(), 25.6f);
  // Characters still go into the cells; only flushing and showing need a window.
  EXPECT_EQ(drawEverything(), -2);
  EXPECT_EQ(logMessages(), std::vector<std::string>{});
  display.shutDown();
  Config::getInstance().loadConfig("headless:false,font_file:no-such-font.ttf,");
  EXPECT_EQ(display.startUp(), -1);
  EXPECT_TRUE(
      logHas("DisplayManager::startUp(): Unable to load font from file 'no-such-font.ttf'."));
  display.shutDown();
  EXPECT_EQ(drawEverything(), -5);
  EXPECT_EQ(logCount("DisplayManager not started!"), 5);
  EXPECT_EQ(InputManager::getInstance().startUp(), -1);
}

// Every byte in every colour, at fractional cells of a moving view and over the edges, looks as
// drawPlainly draws it (within one level), with a red square the engine draws among them.
TEST_F(DisplayManagerTest, CharactersLookAsSfmlDrawsThemOneByOne) {
  startDisplay("window_background_color:blue,");
  const sf::Color colours[] = {sf::Color::Black, sf::Color::Red,     sf::Color::Green,
                               sf::Color::Cyan,  sf::Color::Magenta, sf::Color(200, 120, 40)};
  Shape square;
  square.setType(SQUARE), square.setColor(RED);
  for (int frame = 0; frame < 3; frame++) {
    const float shift = 0.1f * static_cast<float>(frame);
    WorldManager::getInstance().setView(Box(Vector(shift, -3.7f * shift), 80.0f, 24.0f));
    const auto draw = [&](bool plainly) {
      for (int n = 0; n < 80 * 24; n++) {
        const Vector at(static_cast<float>(n % 80) - 0.6f + 0.5f * static_cast<float>(n % 2),
                        static_cast<float>(n / 80) - 0.4f + shift * static_cast<float>(n % 3));
        const Vector pixel = spacesToPixels(worldToView(at));
        const char ch = static_cast<char>(n % 256);
        const sf::Color color = colours[(n / 7) % 6];
        if (n == 500) square.draw(at);
        if (plainly)
          drawPlainly({{sf::Vector2f(pixel.getX(), pixel.getY()), ch, color}}, sf::Color::Blue);
        else
          DisplayManager::getInstance().drawCharacter(at, ch, color.r, color.g, color.b);
      }
    };
    EXPECT_EQ(differingPixels(capture([&] { draw(false); }), capture([&] { draw(true); }), 1), 0)
        << "view shifted by " << shift;
  }
}

// Sizes the X server or, for a window, the graphics driver cannot take are refused at start-up.
TEST_F(DisplayManagerTest, WindowSizesThatCannotBeShownAreRefused) {
  const int driver = static_cast<int>(sf::Texture::getMaximumSize());
  std::vector<std::array<int, 5>> sizes = {// headless, pixels across and down, cells likewise
                                           {0, 32768, 100, 80, 24},      {0, 100, 40000, 80, 24},
                                           {0, 2147483647, 768, 80, 24}, {1, 32768, 100, 80, 24},
                                           {0, 0, 768, 80, 24},          {0, 1024, -5, 80, 24},
                                           {0, 1024, 768, 80, 0},        {1, 1024, 768, -1, 24}};
  if (driver < 32767) sizes.push_back({0, driver + 1, 100, 80, 24});
  for (const auto& [headless, width, height, columns, rows] : sizes) {
    const std::string size = toString(width) + ", " + toString(height) + ") pixels, (" +
                             toString(columns) + ", " + toString(rows);
    Config::getInstance().loadConfig("headless:" + toString(headless == 1) +
                                     ",window_horizontal_pixels:" + toString(width) +
                                     ",window_vertical_pixels:" + toString(height) +
                                     ",window_horizontal_chars:" + toString(columns) +
                                     ",window_vertical_chars:" + toString(rows) + ",");
    EXPECT_EQ(DisplayManager::getInstance().startUp(), -1) << size;
    DisplayManager::getInstance().shutDown();
    EXPECT_EQ(logMessages().back(), "DisplayManager::startUp(): Error! Window size (" + size +
                                        ") characters not supported.");
  }
}

}  // namespace
}  // namespace tx::test
