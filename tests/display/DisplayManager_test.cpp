#include "display/DisplayManager.h"

#include <cstdlib>

#include "DisplayFixture.h"
#include "display/InputManager.h"
#include "display/Shape.h"
#include "world/WorldManager.h"

// Last: Xlib's macros (None, Bool, ...) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tx::test {
namespace {

// What the X server shows in the window: the frame made visible by the last swap.
sf::Image shownImage() {
  sf::RenderWindow& window = *DisplayManager::getInstance().getWindow();
  const unsigned width = window.getSize().x, height = window.getSize().y;
  sf::Image image;
  image.create(width, height, sf::Color::Black);
  ::Display* x_display = XOpenDisplay(nullptr);
  XImage* shot = x_display == nullptr ? nullptr
                                      : XGetImage(x_display, window.getSystemHandle(), 0, 0, width,
                                                  height, AllPlanes, ZPixmap);
  EXPECT_NE(shot, nullptr);
  for (unsigned y = 0; shot != nullptr && y < height; y++)
    for (unsigned x = 0; x < width; x++) {
      const unsigned long pixel = XGetPixel(shot, static_cast<int>(x), static_cast<int>(y));
      image.setPixel(x, y,
                     sf::Color(static_cast<sf::Uint8>(pixel >> 16),
                               static_cast<sf::Uint8>(pixel >> 8), static_cast<sf::Uint8>(pixel)));
    }
  if (shot != nullptr) XDestroyImage(shot);
  if (x_display != nullptr) XCloseDisplay(x_display);
  return image;
}

// One thing a scene draws: a character, or a shape when shape_type is not UNDEFINED.
struct Drawing {
  Vector position;
  char ch;
  sf::Color color;
  int shape_type = UNDEFINED;
};
const sf::Color COLOURS[] = {sf::Color::Black,  sf::Color::Red,   sf::Color::Green,
                             sf::Color::Yellow, sf::Color::Blue,  sf::Color::Magenta,
                             sf::Color::Cyan,   sf::Color::White, sf::Color(200, 120, 40)};

class DisplayManagerTest : public DisplayTest {
 protected:
  // Pixels in which the scene drawn batched differs by more than one colour level per channel
  // from the same scene drawn the way it was before batching: a rectangle and then a text for
  // every character, straight into the window. The two round the glyphs' corners differently
  // (on the processor against in the driver), which may shade an edge texel by one level.
  static int batchedDiffers(const std::vector<Drawing>& scene, int* ink = nullptr) {
    DisplayManager& display = DisplayManager::getInstance();
    Shape shape;
    shape.setColor(RED);
    shape.setOpacity(160);
    auto drawShape = [&](const Drawing& d) { shape.setType(d.shape_type), shape.draw(d.position); };
    const sf::Image batched = capture([&] {
      for (const Drawing& d : scene)
        d.shape_type != UNDEFINED
            ? drawShape(d)
            : void(display.drawCharacter(d.position, d.ch, d.color.r, d.color.g, d.color.b));
    });
    sf::RectangleShape rectangle(sf::Vector2f(cellWidth(), cellHeight()));
    rectangle.setFillColor(colorToSFML(Config::getInstance().getWindowBackgroundColor()));
    sf::Text text("", display.getFont(),
                  static_cast<unsigned int>(Config::getInstance().getFontScale() *
                                            std::min(cellWidth(), cellHeight())));
    text.setStyle(sf::Text::Bold);
    const sf::Image expected = capture([&] {
      sf::RenderWindow& window = *display.getWindow();
      for (const Drawing& d : scene) {
        if (d.shape_type != UNDEFINED) {
          drawShape(d);
          continue;
        }
        const Vector pixel = spacesToPixels(worldToView(d.position));
        rectangle.setPosition(pixel.getX() - cellWidth() / 10.0f,
                              pixel.getY() + cellHeight() / 5.0f);
        window.draw(rectangle);
        text.setString(sf::String(d.ch)), text.setPosition(pixel.getX(), pixel.getY()),
            text.setFillColor(d.color);
        window.draw(text);
      }
    });
    if (ink != nullptr) *ink = countInk(batched, sf::Color::Blue);
    return differingPixels(batched, expected, 1);
  }
};

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
  texture.create(1024, 768);
  texture.update(*window);
  EXPECT_EQ(countInk(texture.copyToImage()), 0);
  EXPECT_EQ(display.flush(), 0);
  texture.update(*window);
  const sf::Image image = texture.copyToImage();
  EXPECT_GT(inkInCell(image, 5, 2, sf::Color::Red), 20);
  EXPECT_GT(inkInCell(image, 20, 4, sf::Color::White), 20);
  EXPECT_EQ(inkInCell(image, 15, 5, sf::Color::Red), 0);
}

TEST_F(DisplayManagerTest, BackgroundCoversTheShiftedCell) {
  startDisplay();
  const sf::Image image =
      capture([] { DisplayManager::getInstance().drawCharacter(Vector(5.0f, 2.0f), ' ', WHITE); },
              sf::Color::Blue);
  // The rectangle spans x 62.72 .. 75.52 and y 70.4 .. 102.4.
  EXPECT_EQ(countColor(image, 63, 71, 75, 102, sf::Color::Black), 12 * 31);
  for (const auto& [x, y] : {std::pair<unsigned, unsigned>{69, 69}, {69, 103}, {61, 80}, {77, 80}})
    EXPECT_EQ(image.getPixel(x, y), sf::Color::Blue) << x << ", " << y;
}

TEST_F(DisplayManagerTest, SwapShowsThePreviousFrameAndClearsToTheBackground) {
  startDisplay("window_background_color:blue,");
  DisplayManager& display = DisplayManager::getInstance();
  display.drawCharacter(Vector(5.0f, 2.0f), '#', RED);
  ASSERT_EQ(display.swapBuffers(), 0);
  EXPECT_GT(inkInCell(shownImage(), 5, 2, sf::Color::Red), 20);
  EXPECT_EQ(countInk(drawnImage(), sf::Color::Blue), 0);
  ASSERT_EQ(display.swapBuffers(), 0);
  EXPECT_EQ(countInk(shownImage(), sf::Color::Blue), 0);
  EXPECT_EQ(display.startUp(), 0);
  EXPECT_TRUE(logHas("DisplayManager::startUp(): Already started."));
}

// Each named colour reaches the window's pixels as its own RGB, in its own cell only: on a black
// background, and black itself on a white one.
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
      EXPECT_GT(ink, 20) << "colour " << color << " not drawn as RGB " << int(rgb.r) << ","
                         << int(rgb.g) << "," << int(rgb.b);
      EXPECT_EQ(countColor(shown, 0, 0, 1024, 768, rgb), ink) << "colour " << color;
    }
  }
}

TEST_F(DisplayManagerTest, HeadlessKeepsGeometryAndDrawsNothingSilently) {
  startDisplay("headless:true,window_horizontal_chars:40,");
  DisplayManager& display = DisplayManager::getInstance();
  EXPECT_TRUE(display.isStarted());
  EXPECT_EQ(display.getWindow(), nullptr);
  EXPECT_EQ(display.getHorizontalCells(), 40);
  EXPECT_EQ(display.getVerticalCells(), 24);
  EXPECT_FLOAT_EQ(cellWidth(), 25.6f);
  EXPECT_EQ(display.drawCharacter(Vector(1.0f, 1.0f), 'a', RED) +
                display.drawCharacter(Vector(1.0f, 1.0f), 'a', 1, 2, 3) +
                display.drawText(Vector(1.0f, 1.0f), "abc", ALIGN_LEFT, RED) + display.flush() +
                display.swapBuffers(),
            -5);
  EXPECT_EQ(logMessages(), std::vector<std::string>{});
}

TEST_F(DisplayManagerTest, StartUpFailuresAreLoggedAndDrawingIsRefusedOncePerCall) {
  DisplayManager& display = DisplayManager::getInstance();
  // The last: no X display, which fails start-up instead of aborting.
  for (const auto& [config, log] :
       {std::pair<const char*, const char*>{"font_file:no-such-font.ttf,",
                                            "Unable to load font from file 'no-such-font.ttf'."},
        {"window_vertical_chars:0,",
         "Error! Window size (1024, 768) pixels, (80, 0) characters not supported."},
        {"window_vertical_chars:24,font_file:tx-font.ttf,", "Unable to allocate window!"}}) {
    if (std::string(log) == "Unable to allocate window!") unsetenv("DISPLAY");
    Config::getInstance().loadConfig(config);
    EXPECT_EQ(display.startUp(), -1);
    EXPECT_TRUE(logHas(std::string("DisplayManager::startUp(): ") + log)) << log;
    EXPECT_FALSE(display.isStarted());
    display.shutDown();
    EXPECT_EQ(display.getWindow(), nullptr);
  }
  EXPECT_EQ(display.drawCharacter(Vector(1.0f, 1.0f), 'a', RED) +
                display.drawCharacter(Vector(1.0f, 1.0f), 'a', 1, 2, 3) +
                display.drawText(Vector(1.0f, 1.0f), "abc", ALIGN_LEFT, RED) + display.flush() +
                display.swapBuffers(),
            -5);
  EXPECT_EQ(logCount("DisplayManager not started!"), 5);
  EXPECT_EQ(InputManager::getInstance().startUp(), -1);
  EXPECT_TRUE(
      logHas("InputManager::startUp(): Error starting InputManager. DisplayManager must be started "
             "first."));
}

TEST_F(DisplayManagerTest, BatchedDrawingMatchesPerCharacterDrawing) {
  // Blue cell backgrounds: the tinted white texel must give the configured colour. Default
  // cells of 12.8 x 32 pixels, then of 7.8125 x 19.2: neither scale of the projection is a power of
  // two.
  startDisplay("window_background_color:blue,");
  for (const char* geometry : {"",
                               "window_horizontal_pixels:1000,window_vertical_pixels:576,"
                               "window_horizontal_chars:128,window_vertical_chars:30,"}) {
    SCOPED_TRACE(geometry);
    if (*geometry != '\0') {
      DisplayManager::getInstance().shutDown();
      Config::getInstance().loadConfig(geometry);
      ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
    }
    WorldManager::getInstance().setView(Box(Vector(0.0f, 0.0f), 80.0f, 24.0f));
    // A square first: it leaves its turn on the shared figure, the same for both pictures.
    std::vector<Drawing> scene{{Vector(50.0f, 3.0f), 0, sf::Color::White, SQUARE}};
    for (int n = 0; n < 80 * 24; n++)  // every byte value, in every colour, on a full screen
      scene.push_back({Vector(static_cast<float>(n % 80), static_cast<float>(n / 80)),
                       static_cast<char>(n % 256), COLOURS[(n / 7) % 9]});
    // Two sprites overlapping by half a cell: the later backgrounds hide the earlier glyphs.
    for (int n = 0; n < 40; n++) {
      const float column = static_cast<float>(n % 8), row = static_cast<float>(n / 8);
      scene.push_back(
          {Vector(10.0f + column, 5.0f + row), "/\\|#@*"[n % 8 % 6], COLOURS[n / 8 + 1]});
      scene.push_back({Vector(13.5f + column, 6.5f + row), "OXo=-+%"[n % 8 % 7], COLOURS[n % 8]});
    }
    // Shapes between characters: drawn over what came before, under what comes after.
    scene.insert(scene.end(), {{Vector(14.0f, 7.0f), 0, sf::Color::White, CIRCLE},
                               {Vector(15.0f, 7.0f), 'W', sf::Color::Cyan},
                               {Vector(30.0f, 7.0f), 0, sf::Color::White, SQUARE},
                               {Vector(30.5f, 7.25f), 'M', sf::Color::Green},
                               {Vector(40.0f, 7.0f), 0, sf::Color::White, TRIANGLE}});
    int ink = 0;
    EXPECT_EQ(batchedDiffers(scene, &ink), 0);
    EXPECT_GT(ink, 20000);

    // Positions and view corners as moving objects and a climbing view produce them: steps of
    // tenths, half cells, and sums of small float velocities; some characters hang over the edges.
    float view_y = 0.0f, object_x = 3.0f;
    for (int frame = 0; frame < 40; frame++) {
      view_y -= 0.05f + 0.0137f * static_cast<float>(frame % 5);
      object_x += 0.3f + 0.071f * static_cast<float>(frame % 3);
      WorldManager::getInstance().setView(
          Box(Vector(0.1f * static_cast<float>(frame % 7), view_y), 80.0f, 24.0f));
      scene = {{Vector(-0.6f, view_y - 0.4f), '#', sf::Color::Yellow},
               {Vector(79.7f, view_y + 23.6f), '#', sf::Color::Yellow}};
      for (int i = 0; i < 60; i++) {
        const float x = object_x + static_cast<float>(i % 12) + 0.1f * static_cast<float>(i % 10);
        const float y = view_y + static_cast<float>(i / 3) + 0.5f * static_cast<float>(i % 2) +
                        0.01f * static_cast<float>(frame);
        scene.push_back(
            {Vector(x, y), static_cast<char>('!' + (i * 7 + frame) % 94), COLOURS[i % 9]});
      }
      EXPECT_EQ(batchedDiffers(scene), 0) << "frame " << frame;
    }
  }
}

}  // namespace
}  // namespace tx::test
