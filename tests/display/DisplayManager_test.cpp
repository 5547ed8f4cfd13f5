#include "display/DisplayManager.h"

#include <cstdlib>

#include "DisplayFixture.h"
#include "display/Shape.h"
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

// One thing a scene draws: a character, or a shape when shape_type is not UNDEFINED.
struct Drawing {
  Vector position;
  char ch;
  sf::Color color;
  int shape_type = UNDEFINED;
};

// Draws characters the way they were drawn before batching: a rectangle and then a text for
// every character, straight into the window, with the display manager's own font.
class PerCharacterReference {
 public:
  PerCharacterReference() {
    rectangle.setSize(sf::Vector2f(cellWidth(), cellHeight()));
    rectangle.setFillColor(colorToSFML(Config::getInstance().getWindowBackgroundColor()));
    text.setFont(DisplayManager::getInstance().getFont());
    text.setStyle(sf::Text::Bold);
    text.setCharacterSize(static_cast<unsigned int>(Config::getInstance().getFontScale() *
                                                    std::min(cellWidth(), cellHeight())));
  }

  void draw(sf::RenderWindow& window, const Drawing& drawing) {
    const Vector pixel = spacesToPixels(worldToView(drawing.position));
    rectangle.setPosition(pixel.getX() - cellWidth() / 10.0f, pixel.getY() + cellHeight() / 5.0f);
    window.draw(rectangle);
    text.setString(sf::String(drawing.ch));
    text.setPosition(pixel.getX(), pixel.getY());
    text.setFillColor(drawing.color);
    window.draw(text);
  }

 private:
  sf::RectangleShape rectangle;
  sf::Text text;
};

void drawShape(const Drawing& drawing) {
  Shape shape;
  shape.setType(drawing.shape_type);
  shape.setColor(RED);
  shape.setOpacity(160);
  shape.draw(drawing.position);
}

class DisplayBatchTest : public DisplayTest {
 protected:
  static int differingPixels(const std::vector<Drawing>& scene, int* ink = nullptr);
};

// Renders the scene batched and then per character into the cleared window and counts the
// pixels in which the two pictures differ.
int DisplayBatchTest::differingPixels(const std::vector<Drawing>& scene, int* ink) {
  DisplayManager& display = DisplayManager::getInstance();
  sf::RenderWindow& window = *display.getWindow();
  window.clear();
  for (const Drawing& drawing : scene) {
    if (drawing.shape_type != UNDEFINED) {
      drawShape(drawing);
    } else {
      display.drawCharacter(drawing.position, drawing.ch, drawing.color.r, drawing.color.g,
                            drawing.color.b);
    }
  }
  const sf::Image batched = drawnImage();

  window.clear();
  PerCharacterReference reference;
  for (const Drawing& drawing : scene) {
    if (drawing.shape_type != UNDEFINED) {
      drawShape(drawing);
    } else {
      reference.draw(window, drawing);
    }
  }
  const sf::Image expected = drawnImage();

  if (ink != nullptr) *ink = countInk(batched);
  int differing = 0;
  for (unsigned y = 0; y < expected.getSize().y; y++)
    for (unsigned x = 0; x < expected.getSize().x; x++)
      if (batched.getPixel(x, y) != expected.getPixel(x, y)) differing++;
  return differing;
}

const sf::Color COLOURS[] = {sf::Color::Black, sf::Color::Red,     sf::Color::Green,
                             sf::Color::Yellow, sf::Color::Blue,   sf::Color::Magenta,
                             sf::Color::Cyan,  sf::Color::White,   sf::Color(200, 120, 40)};

TEST_F(DisplayManagerTest, FontTextureKeepsAWhiteSquareForBackgrounds) {
  startDisplay();
  const sf::Image texture = DisplayManager::getInstance().getFont().getTexture(25).copyToImage();
  for (unsigned y = 0; y < 2; y++)
    for (unsigned x = 0; x < 2; x++) EXPECT_EQ(texture.getPixel(x, y), sf::Color::White);
}

TEST_F(DisplayManagerTest, FontTextureHoldsEveryGlyphFromStartUp) {
  startDisplay();
  const sf::Texture& texture = DisplayManager::getInstance().getFont().getTexture(25);
  const sf::Vector2u size = texture.getSize();
  for (int c = 0; c < 256; c++)
    DisplayManager::getInstance().drawCharacter(Vector(static_cast<float>(c % 80), static_cast<float>(c / 80)),
                                                static_cast<char>(c), WHITE);
  DisplayManager::getInstance().flush();
  // A texture that grew in the middle of a batch would shift the glyphs batched before.
  EXPECT_EQ(texture.getSize(), size);
}

TEST_F(DisplayBatchTest, BatchedScreenOfTextMatchesPerCharacterDrawing) {
  startDisplay();
  std::vector<Drawing> scene;
  // Every byte value, in every colour, on a full screen.
  for (int row = 0; row < 24; row++)
    for (int column = 0; column < 80; column++) {
      const int n = row * 80 + column;
      scene.push_back({Vector(static_cast<float>(column), static_cast<float>(row)),
                       static_cast<char>(n % 256), COLOURS[(n / 7) % 9]});
    }
  int ink = 0;
  EXPECT_EQ(differingPixels(scene, &ink), 0);
  EXPECT_GT(ink, 50000);
}

TEST_F(DisplayBatchTest, BatchedOverlapsAndShapesMatchPerCharacterDrawing) {
  // Blue cell backgrounds: the tinted white texel must give exactly the configured colour.
  startDisplay("window_background_color:blue,");
  // A square first: it leaves its turn on the shared figure, the same for both pictures.
  std::vector<Drawing> scene{{Vector(50.0f, 3.0f), 0, sf::Color::White, SQUARE}};
  // Two sprites overlapping by half a cell: the later backgrounds hide the earlier glyphs.
  for (int row = 0; row < 5; row++)
    for (int column = 0; column < 8; column++) {
      scene.push_back({Vector(10.0f + static_cast<float>(column), 5.0f + static_cast<float>(row)),
                       "/\\|#@*"[column % 6], COLOURS[row + 1]});
      scene.push_back({Vector(13.5f + static_cast<float>(column), 6.5f + static_cast<float>(row)),
                       "OXo=-+%"[column % 7], COLOURS[column % 9]});
    }
  // Shapes between characters: drawn over what came before, under what comes after.
  scene.push_back({Vector(14.0f, 7.0f), 0, sf::Color::White, CIRCLE});
  scene.push_back({Vector(15.0f, 7.0f), 'W', sf::Color::Cyan});
  scene.push_back({Vector(30.0f, 7.0f), 0, sf::Color::White, SQUARE});
  scene.push_back({Vector(30.5f, 7.25f), 'M', sf::Color::Green});
  scene.push_back({Vector(40.0f, 7.0f), 0, sf::Color::White, TRIANGLE});
  int ink = 0;
  EXPECT_EQ(differingPixels(scene, &ink), 0);
  EXPECT_GT(ink, 3000);
}

TEST_F(DisplayBatchTest, BatchedFractionalPositionsMatchPerCharacterDrawing) {
  startDisplay();
  WorldManager& world = WorldManager::getInstance();
  // Positions and view corners as moving objects and a climbing view produce them: steps of
  // tenths, half cells, and sums of small float velocities; some characters hang over the
  // window's edges.
  float view_y = 0.0f;
  float object_x = 3.0f;
  for (int frame = 0; frame < 40; frame++) {
    view_y -= 0.05f + 0.0137f * static_cast<float>(frame % 5);
    object_x += 0.3f + 0.071f * static_cast<float>(frame % 3);
    world.setView(Box(Vector(0.1f * static_cast<float>(frame % 7), view_y), 80.0f, 24.0f));
    std::vector<Drawing> scene;
    for (int i = 0; i < 60; i++) {
      const float x = object_x + static_cast<float>(i % 12) + 0.1f * static_cast<float>(i % 10);
      const float y = view_y + static_cast<float>(i / 3) + 0.5f * static_cast<float>(i % 2) +
                      0.01f * static_cast<float>(frame);
      scene.push_back({Vector(x, y), static_cast<char>('!' + (i * 7 + frame) % 94), COLOURS[i % 9]});
    }
    scene.push_back({Vector(-0.6f, view_y - 0.4f), '#', sf::Color::Yellow});
    scene.push_back({Vector(79.7f, view_y + 23.6f), '#', sf::Color::Yellow});
    scene.push_back({Vector(40.3f, view_y + 23.2f), '#', sf::Color::Yellow});
    EXPECT_EQ(differingPixels(scene), 0) << "frame " << frame;
  }
}

TEST_F(DisplayBatchTest, BatchedMatchesPerCharacterDrawingInAnotherGeometry) {
  // Cells of 7.8125 x 19.2 pixels; neither scale of the projection is a power of two.
  startDisplay("window_horizontal_pixels:1000,window_vertical_pixels:576,"
               "window_horizontal_chars:128,window_vertical_chars:30,");
  WorldManager::getInstance().setView(Box(Vector(0.3f, -41.17f), 128.0f, 30.0f));
  std::vector<Drawing> scene;
  for (int i = 0; i < 600; i++)
    scene.push_back({Vector(0.37f * static_cast<float>(i % 300), -41.17f + 0.11f * static_cast<float>(i % 280)),
                     static_cast<char>('!' + i % 94), COLOURS[i % 9]});
  int ink = 0;
  EXPECT_EQ(differingPixels(scene, &ink), 0);
  EXPECT_GT(ink, 5000);
}

TEST_F(DisplayManagerTest, CharactersReachTheWindowOnlyWhenFlushed) {
  startDisplay();
  DisplayManager& display = DisplayManager::getInstance();
  sf::RenderWindow* window = display.getWindow();
  display.drawCharacter(Vector(5.0f, 2.0f), '#', RED);
  // A caller that kept the window pointer sees nothing until the batch is flushed.
  sf::Texture texture;
  texture.create(1024, 768);
  texture.update(*window);
  EXPECT_EQ(countInk(texture.copyToImage()), 0);
  EXPECT_EQ(display.flush(), 0);
  texture.update(*window);
  EXPECT_GT(redInCell(texture.copyToImage(), 5, 2), 20);
}

TEST_F(DisplayManagerTest, FlushIsRefusedWhenStoppedAndSilentWhenHeadless) {
  startLog();
  EXPECT_EQ(DisplayManager::getInstance().flush(), -1);
  EXPECT_EQ(logCount("DisplayManager not started!"), 1);
  Config::getInstance().loadConfig("headless:true,");
  ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
  EXPECT_EQ(DisplayManager::getInstance().flush(), -1);
  EXPECT_EQ(logCount("DisplayManager not started!"), 1);
}

}  // namespace
}  // namespace tx::test
