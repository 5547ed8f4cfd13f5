#include "display/DisplayManager.h"

#include <cstdlib>

#include "DisplayFixture.h"
#include "world/WorldManager.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tx::test {
namespace {

// Default geometry: cells of 12.8 x 32 pixels.
constexpr float CELL_W = 12.8f;
constexpr float CELL_H = 32.0f;

// Red pixels in the cell at (column, row), widened a little because glyphs overhang their cell.
int redInCell(const sf::Image& image, int column, int row) {
  const int x = static_cast<int>(static_cast<float>(column) * CELL_W);
  const int y = static_cast<int>(static_cast<float>(row) * CELL_H);
  int count = 0;
  for (int py = y; py < y + 40; py++)
    for (int px = x - 3; px < x + 16; px++)
      if (px >= 0 && image.getPixel(static_cast<unsigned>(px), static_cast<unsigned>(py)) == sf::Color::Red)
        count++;
  return count;
}

// Whether anything but black lies on the middle column of a cell within its row.
bool inkAtCellCentre(const sf::Image& image, int column, int row) {
  const unsigned x = static_cast<unsigned>(static_cast<float>(column) * CELL_W + CELL_W / 2.0f);
  for (unsigned y = static_cast<unsigned>(row * 32); y < static_cast<unsigned>(row * 32 + 32); y++)
    if (image.getPixel(x, y) != sf::Color::Black) return true;
  return false;
}

// What the X server shows in the window: the frame made visible by the last swap.
sf::Image shownImage() {
  sf::RenderWindow& window = *DisplayManager::getInstance().getWindow();
  const unsigned width = window.getSize().x;
  const unsigned height = window.getSize().y;
  ::Display* x_display = XOpenDisplay(nullptr);
  EXPECT_NE(x_display, nullptr);
  sf::Image image;
  image.create(width, height, sf::Color::Black);
  if (x_display == nullptr) return image;
  XImage* shot = XGetImage(x_display, window.getSystemHandle(), 0, 0, width, height, AllPlanes, ZPixmap);
  EXPECT_NE(shot, nullptr);
  if (shot != nullptr) {
    for (unsigned y = 0; y < height; y++)
      for (unsigned x = 0; x < width; x++) {
        const unsigned long pixel = XGetPixel(shot, static_cast<int>(x), static_cast<int>(y));
        image.setPixel(x, y, sf::Color(static_cast<sf::Uint8>((pixel >> 16) & 0xff),
                                       static_cast<sf::Uint8>((pixel >> 8) & 0xff),
                                       static_cast<sf::Uint8>(pixel & 0xff)));
      }
    XDestroyImage(shot);
  }
  XCloseDisplay(x_display);
  return image;
}

using DisplayManagerTest = DisplayTest;

TEST_F(DisplayManagerTest, ConversionsKeepFractions) {
  const Vector cell = pixelsToSpaces(Vector(64.0f, 64.0f));
  EXPECT_FLOAT_EQ(cell.getX(), 5.0f);
  EXPECT_FLOAT_EQ(cell.getY(), 2.0f);
  const Vector pixel = spacesToPixels(Vector(5.0f, 2.0f));
  EXPECT_FLOAT_EQ(pixel.getX(), 64.0f);
  EXPECT_FLOAT_EQ(pixel.getY(), 64.0f);
  const Vector fraction = pixelsToSpaces(Vector(100.0f, 50.0f));
  EXPECT_FLOAT_EQ(fraction.getX(), 7.8125f);
  EXPECT_FLOAT_EQ(fraction.getY(), 1.5625f);
}

TEST_F(DisplayManagerTest, ViewConversionsUseTheViewCorner) {
  WorldManager::getInstance().setView(Box(Vector(10.0f, 3.0f), 80.0f, 24.0f));
  EXPECT_EQ(worldToView(Vector(15.0f, 5.0f)), Vector(5.0f, 2.0f));
  EXPECT_EQ(viewToWorld(Vector(5.0f, 2.0f)), Vector(15.0f, 5.0f));
}

TEST_F(DisplayManagerTest, ColorConversionsFollowTheTable) {
  startDisplay("headless:true,");
  LogManager::getInstance().setLogLevel(5);
  unsigned char r = 1, g = 2, b = 3;
  colorToRGB(YELLOW, r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 0}));
  colorToRGB(CUSTOM, r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 0}));
  colorToRGB(static_cast<Color>(9), r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 0}));
  EXPECT_TRUE(logHas("colorToRGB(): Color 9 not supported."));

  EXPECT_EQ(colorToSFML(MAGENTA), sf::Color::Magenta);
  EXPECT_EQ(colorToSFML(CUSTOM), sf::Color::White);
  EXPECT_TRUE(logHas("colorToSFML(): Color is CUSTOM."));
  EXPECT_EQ(colorToSFML(static_cast<Color>(-1)), sf::Color::White);
  EXPECT_TRUE(logHas("colorToSFML(): Color -1 not supported."));
}

TEST_F(DisplayManagerTest, CharacterIsDrawnInItsColourAtItsCell) {
  startDisplay();
  ASSERT_EQ(DisplayManager::getInstance().drawCharacter(Vector(5.0f, 2.0f), '#', RED), 0);
  const sf::Image image = drawnImage();
  const int in_cell = redInCell(image, 5, 2);
  EXPECT_GT(in_cell, 20);
  EXPECT_EQ(countColor(image, 0, 0, 1024, 768, sf::Color::Red), in_cell);
}

TEST_F(DisplayManagerTest, CharacterIsDrawnRelativeToTheView) {
  startDisplay();
  WorldManager::getInstance().setView(Box(Vector(10.0f, 3.0f), 80.0f, 24.0f));
  DisplayManager::getInstance().drawCharacter(Vector(15.0f, 5.0f), '#', 255, 0, 0);
  const sf::Image image = drawnImage();
  EXPECT_GT(redInCell(image, 5, 2), 20);
  EXPECT_EQ(redInCell(image, 15, 5), 0);
}

TEST_F(DisplayManagerTest, BackgroundCoversTheShiftedCell) {
  startDisplay();
  sf::RenderWindow& window = *DisplayManager::getInstance().getWindow();
  window.clear(sf::Color::Blue);
  DisplayManager::getInstance().drawCharacter(Vector(5.0f, 2.0f), ' ', WHITE);
  const sf::Image image = drawnImage();
  // The rectangle spans x 62.72 .. 75.52 and y 70.4 .. 102.4.
  EXPECT_EQ(countColor(image, 63, 71, 75, 102, sf::Color::Black), 12 * 31);
  EXPECT_EQ(image.getPixel(69, 69), sf::Color::Blue);
  EXPECT_EQ(image.getPixel(69, 103), sf::Color::Blue);
  EXPECT_EQ(image.getPixel(61, 80), sf::Color::Blue);
  EXPECT_EQ(image.getPixel(77, 80), sf::Color::Blue);
}

TEST_F(DisplayManagerTest, CustomAndUnknownColoursDrawWhite) {
  startDisplay();
  DisplayManager& display = DisplayManager::getInstance();
  EXPECT_EQ(display.drawCharacter(Vector(5.0f, 2.0f), '#', CUSTOM), 0);
  EXPECT_EQ(display.drawCharacter(Vector(20.0f, 2.0f), '#', static_cast<Color>(42)), 0);
  const sf::Image image = drawnImage();
  EXPECT_GT(countColor(image, 60, 64, 80, 104, sf::Color::White), 20);
  EXPECT_GT(countColor(image, 252, 64, 272, 104, sf::Color::White), 20);
}

TEST_F(DisplayManagerTest, TextIsAlignedAroundItsPosition) {
  startDisplay();
  DisplayManager& display = DisplayManager::getInstance();
  sf::RenderWindow& window = *display.getWindow();
  auto drawnColumns = [&](const std::string& str, TextAlignment alignment) {
    window.clear();
    EXPECT_EQ(display.drawText(Vector(10.0f, 2.0f), str, alignment, YELLOW), 0);
    const sf::Image image = drawnImage();
    std::vector<int> columns;
    for (int column = 0; column < 20; column++)
      if (inkAtCellCentre(image, column, 2)) columns.push_back(column);
    return columns;
  };
  EXPECT_EQ(drawnColumns("###", ALIGN_LEFT), (std::vector<int>{10, 11, 12}));
  EXPECT_EQ(drawnColumns("###", ALIGN_CENTER), (std::vector<int>{9, 10, 11}));
  EXPECT_EQ(drawnColumns("###", ALIGN_RIGHT), (std::vector<int>{7, 8, 9}));
  EXPECT_EQ(drawnColumns("####", ALIGN_CENTER), (std::vector<int>{8, 9, 10, 11}));
  EXPECT_EQ(drawnColumns("", ALIGN_CENTER), (std::vector<int>{}));
}

TEST_F(DisplayManagerTest, SwapShowsThePreviousFrameAndClears) {
  startDisplay();
  DisplayManager& display = DisplayManager::getInstance();
  display.drawCharacter(Vector(5.0f, 2.0f), '#', RED);
  ASSERT_EQ(display.swapBuffers(), 0);
  EXPECT_GT(redInCell(shownImage(), 5, 2), 20);
  EXPECT_EQ(countInk(drawnImage()), 0);

  ASSERT_EQ(display.swapBuffers(), 0);
  EXPECT_EQ(countInk(shownImage()), 0);
}

TEST_F(DisplayManagerTest, SwapClearsToTheConfiguredBackground) {
  startDisplay("window_background_color:blue,");
  DisplayManager& display = DisplayManager::getInstance();
  display.drawCharacter(Vector(5.0f, 2.0f), '#', RED);
  display.swapBuffers();
  EXPECT_EQ(countInk(drawnImage(), sf::Color::Blue), 0);
}

TEST_F(DisplayManagerTest, HeadlessKeepsGeometryAndDrawsNothingSilently) {
  startDisplay("headless:true,window_horizontal_chars:40,");
  DisplayManager& display = DisplayManager::getInstance();
  EXPECT_TRUE(display.isStarted());
  EXPECT_EQ(display.getWindow(), nullptr);
  EXPECT_EQ(display.getHorizontalCells(), 40);
  EXPECT_EQ(display.getVerticalCells(), 24);
  EXPECT_FLOAT_EQ(cellWidth(), 25.6f);
  EXPECT_EQ(display.drawCharacter(Vector(1.0f, 1.0f), 'a', RED), -1);
  EXPECT_EQ(display.drawCharacter(Vector(1.0f, 1.0f), 'a', 1, 2, 3), -1);
  EXPECT_EQ(display.drawText(Vector(1.0f, 1.0f), "abc", ALIGN_LEFT, RED), -1);
  EXPECT_EQ(display.swapBuffers(), -1);
  EXPECT_EQ(logMessages(), std::vector<std::string>{});
}

TEST_F(DisplayManagerTest, DrawingWhileStoppedIsRefusedOncePerCall) {
  startLog();
  DisplayManager& display = DisplayManager::getInstance();
  EXPECT_EQ(display.drawCharacter(Vector(1.0f, 1.0f), 'a', RED), -1);
  EXPECT_EQ(display.drawText(Vector(1.0f, 1.0f), "abc", ALIGN_LEFT, RED), -1);
  EXPECT_EQ(display.swapBuffers(), -1);
  EXPECT_EQ(logCount("DisplayManager not started!"), 3);

  ASSERT_EQ(display.startUp(), 0);
  display.shutDown();
  EXPECT_EQ(display.getWindow(), nullptr);
  EXPECT_EQ(display.drawCharacter(Vector(1.0f, 1.0f), 'a', 1, 2, 3), -1);
  EXPECT_EQ(logCount("DisplayManager not started!"), 4);
}

TEST_F(DisplayManagerTest, SecondStartUpKeepsTheWindow) {
  startDisplay();
  sf::RenderWindow* first = DisplayManager::getInstance().getWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(DisplayManager::getInstance().startUp(), 0);
  EXPECT_TRUE(logHas("DisplayManager::startUp(): Already started."));
  EXPECT_EQ(DisplayManager::getInstance().getWindow(), first);
}

TEST_F(DisplayManagerTest, StartUpWithoutXDisplayFailsInsteadOfAborting) {
  unsetenv("DISPLAY");
  startLog();
  DisplayManager& display = DisplayManager::getInstance();
  EXPECT_EQ(display.startUp(), -1);
  EXPECT_TRUE(logHas("DisplayManager::startUp(): Unable to allocate window!"));
  EXPECT_FALSE(display.isStarted());
  EXPECT_EQ(display.getWindow(), nullptr);
}

TEST_F(DisplayManagerTest, MissingFontFailsStartUpAndShutDownReleases) {
  Config::getInstance().loadConfig("font_file:no-such-font.ttf,");
  startLog();
  DisplayManager& display = DisplayManager::getInstance();
  EXPECT_EQ(display.startUp(), -1);
  EXPECT_TRUE(logHas("DisplayManager::startUp(): Unable to load font from file 'no-such-font.ttf'."));
  EXPECT_FALSE(display.isStarted());
  display.shutDown();
  EXPECT_EQ(display.getWindow(), nullptr);
}

TEST_F(DisplayManagerTest, NonPositiveSizesAreRefused) {
  Config::getInstance().loadConfig("window_vertical_chars:0,");
  startLog();
  EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
  EXPECT_TRUE(logHas("DisplayManager::startUp(): Error! Window size (1024, 768) pixels, (80, 0) "
                     "characters not supported."));
  EXPECT_FALSE(DisplayManager::getInstance().isStarted());
  EXPECT_FLOAT_EQ(cellHeight(), 32.0f);
}

}  // namespace
}  // namespace tx::test
