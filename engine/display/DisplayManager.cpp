#include "tolvex/display/DisplayManager.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>

#include "tolvex/core/Config.h"
#include "tolvex/core/DataDirectory.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/FrameComposer.h"
#include "tolvex/platform/DisplayConnection.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

namespace {

// A new T, or null when memory runs out: start-up reports that in its own words.
template <typename T, typename... Args>
std::unique_ptr<T> makeOrNull(Args&&... args) {
  try {
    return std::make_unique<T>(std::forward<Args>(args)...);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// The components of each named colour, BLACK to WHITE, in the order of their values; the same
// as SFML's named colours.
const sf::Color NAMED_COLORS[] = {
    sf::Color(0, 0, 0),   sf::Color(255, 0, 0),   sf::Color(0, 255, 0),   sf::Color(255, 255, 0),
    sf::Color(0, 0, 255), sf::Color(255, 0, 255), sf::Color(0, 255, 255), sf::Color(255, 255, 255)};

bool isNamedColor(Color color) { return color >= BLACK && color <= WHITE; }

// Largest window side the X server can place: its window coordinates are 16-bit signed.
constexpr int MAX_X_WINDOW_PIXELS = 32767;

// Whether the configured sizes make cells, with window sides of at most most_pixels. A zero or
// negative size would make every cell size infinite or negative; a window larger than the X
// server or the graphics driver can take crashes inside them. Otherwise logs the refusal.
bool sizesFit(const Config& config, int most_pixels) {
  const int pixels[2] = {config.getWindowHorizontalPixels(), config.getWindowVerticalPixels()};
  const int chars[2] = {config.getWindowHorizontalChars(), config.getWindowVerticalChars()};
  if (pixels[0] > 0 && pixels[1] > 0 && chars[0] > 0 && chars[1] > 0 && pixels[0] <= most_pixels &&
      pixels[1] <= most_pixels)
    return true;
  LogManager::getInstance().writeLog(
      "DisplayManager::startUp(): Error! Window size (%d, %d) pixels, (%d, %d) characters "
      "not supported.",
      pixels[0], pixels[1], chars[0], chars[1]);
  return false;
}

// Largest window side the graphics driver draws: its largest texture. SFML must reach the X
// server to ask, and the caller must hold a connection (the server resets when the last goes).
int driverMostPixels() {
  return static_cast<int>(
      std::min(static_cast<unsigned int>(MAX_X_WINDOW_PIXELS), sf::Texture::getMaximumSize()));
}

// The font scale times the smaller cell side, in whole points.
unsigned int characterSize(const Config& config) {
  const float size = config.getFontScale() * std::min(cellWidth(), cellHeight());
  return size > 0.0f ? static_cast<unsigned int>(size) : 0u;
}

}  // namespace

// Sizes before start-up are the configuration's defaults, so the cell geometry is finite even
// for shapes and conversions used before the display starts.
DisplayManager::DisplayManager()
    : font(std::make_unique<sf::Font>()),
      window_horizontal_pixels(1024),
      window_vertical_pixels(768),
      window_horizontal_chars(80),
      window_vertical_chars(24) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() = default;

DisplayManager& DisplayManager::getInstance() {
  static DisplayManager display_manager;
  return display_manager;
}

int DisplayManager::startUp() {
  LogManager& log_manager = LogManager::getInstance();
  if (isStarted()) {
    log_manager.writeLog("DisplayManager::startUp(): Already started.");
    return 0;
  }
  // Leftovers of an earlier start-up that failed half way.
  shutDownGraphics();
  if (readSizes() != 0) {
    return -1;
  }
  window_background_color = colorToSFML(Config::getInstance().getWindowBackgroundColor());
  drawn_cells = CellGrid(window_horizontal_chars, window_vertical_chars, window_background_color);
  shown_cells = drawn_cells;
  if (Config::getInstance().getHeadless()) {
    log_manager.writeLog(1,
                         "DisplayManager::startUp(): not doing graphics since in headless mode.");
  } else if (startGraphics() != 0) {
    return -1;
  }
  startCapture();
  Manager::startUp();
  log_manager.writeLog(5, "DisplayManager::startUp(): successfully started.");
  return 0;
}

void DisplayManager::startCapture() {
  const char* from_environment = std::getenv("TOLVEX_CAPTURE");
  const std::string path =
      from_environment != nullptr ? from_environment : Config::getInstance().getCaptureFrames();
  if (!path.empty()) capture.open(path, Config::getInstance().getCaptureEvery());
}

int DisplayManager::readSizes() {
  const Config& config = Config::getInstance();
  if (!sizesFit(config, MAX_X_WINDOW_PIXELS)) return -1;
  window_horizontal_pixels = config.getWindowHorizontalPixels();
  window_vertical_pixels = config.getWindowVerticalPixels();
  window_horizontal_chars = config.getWindowHorizontalChars();
  window_vertical_chars = config.getWindowVerticalChars();
  return 0;
}

int DisplayManager::startGraphics() {
  const Config& config = Config::getInstance();
  if (openWindow() != 0) {
    return -1;
  }
  const std::string font_file =
      DataDirectory::getInstance().resolveEngineFile(config.getFontFile());
  if (!font->loadFromFile(font_file)) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Unable to load font from file '%s'.", font_file.c_str());
    return -1;
  }
  if (makeRectangleAndText() != 0) {
    return -1;
  }
  // A new window's buffer holds undefined pixels; the first frame must not show them.
  window->clear(window_background_color);
  composer = FrameComposer::make(*text, *rectangle,
                                 sf::Vector2u(static_cast<unsigned int>(window_horizontal_pixels),
                                              static_cast<unsigned int>(window_vertical_pixels)));
  if (composer == nullptr) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Unable to allocate frame texture.");
    return -1;
  }
  return 0;
}

int DisplayManager::openWindow() {
  LogManager& log_manager = LogManager::getInstance();
  const Config& config = Config::getInstance();
  // SFML aborts the process when it cannot reach the X server, so ask first, and hold that
  // connection until the window has one of its own.
  const DisplayConnection connection;
  if (!connection.isOpen()) {
    log_manager.writeLog("DisplayManager::startUp(): Unable to allocate window!");
    return -1;
  }
  if (!sizesFit(config, driverMostPixels())) return -1;
  const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
  log_manager.writeLog(5, "DisplayManager::startUp(): window resolution (%d, %d) pixels.",
                       static_cast<int>(desktop.width), static_cast<int>(desktop.height));
  window = makeOrNull<sf::RenderWindow>(
      sf::VideoMode(static_cast<unsigned int>(window_horizontal_pixels),
                    static_cast<unsigned int>(window_vertical_pixels), 32),
      sf::String(config.getWindowTitle()), static_cast<sf::Uint32>(config.getWindowStyle()),
      sf::ContextSettings());
  if (window == nullptr || !window->isOpen()) {
    window.reset();
    log_manager.writeLog("DisplayManager::startUp(): Unable to allocate window!");
    return -1;
  }
  window->setMouseCursorVisible(config.getShowMouse());
  window->setVerticalSyncEnabled(true);
  return 0;
}

int DisplayManager::makeRectangleAndText() {
  LogManager& log_manager = LogManager::getInstance();
  const Config& config = Config::getInstance();
  rectangle = makeOrNull<sf::RectangleShape>(sf::Vector2f(cellWidth(), cellHeight()));
  if (rectangle == nullptr) {
    log_manager.writeLog("DisplayManager::startUp(): Unable to allocate rectangle.");
    return -1;
  }
  text = makeOrNull<sf::Text>();
  if (text == nullptr) {
    log_manager.writeLog("DisplayManager::startUp(): Unable to allocate text.");
    return -1;
  }
  text->setFont(*font);
  text->setStyle(sf::Text::Bold);
  text->setCharacterSize(characterSize(config));
  rectangle->setFillColor(window_background_color);
  return 0;
}

void DisplayManager::shutDown() {
  shutDownGraphics();
  capture.close();
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "DisplayManager::shutDown(): successfully stopped.");
}

void DisplayManager::shutDownGraphics() {
  // Characters drawn but never flushed belong to the closed window.
  composer.reset();
  if (window != nullptr) {
    window->close();
    window.reset();
  }
  text.reset();
  rectangle.reset();
}

bool DisplayManager::isReadyToDraw() const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return false;
  }
  return true;
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g,
                                  unsigned char b) {
  if (!isReadyToDraw()) {
    return -1;
  }
  const Vector view_pos = worldToView(world_pos);
  if (isOutsideWindow(view_pos)) {
    return 0;
  }
  ++drawn_character_count;
  const sf::Color color(r, g, b, 255);
  drawn_cells.draw(view_pos, ch, color);
  if (composer != nullptr) {
    const Vector pixel = spacesToPixels(view_pos);
    composer->add(CellDrawing{sf::Vector2f(pixel.getX(), pixel.getY()), ch, color});
  }
  return 0;
}

int DisplayManager::flush() {
  if (!isReadyToDraw() || composer == nullptr) {
    return -1;
  }
  composer->present(*window);
  return 0;
}

sf::RenderWindow* DisplayManager::getWindow() {
  // A composer exists only with a window; a start-up that failed half way may leave a window
  // alone.
  if (composer != nullptr) {
    composer->present(*window);
  }
  return window.get();
}

sf::Window* DisplayManager::getInputWindow() { return window.get(); }

int DisplayManager::drawCharacter(Vector world_pos, char ch, Color color) {
  if (!isReadyToDraw()) {
    return -1;
  }
  // CUSTOM and unknown colours leave the components alone: they stay white.
  unsigned char r = 255;
  unsigned char g = 255;
  unsigned char b = 255;
  colorToRGB(color, r, g, b);
  return drawCharacter(world_pos, ch, r, g, b);
}

int DisplayManager::drawText(Vector world_pos, std::string str, TextAlignment alignment,
                             Color color) {
  if (!isReadyToDraw()) {
    return -1;
  }
  const int length = static_cast<int>(str.size());
  Vector start = world_pos;
  switch (alignment) {
    case ALIGN_CENTER:
      start.setX(world_pos.getX() - static_cast<float>(length / 2));
      break;
    case ALIGN_RIGHT:
      start.setX(world_pos.getX() - static_cast<float>(length));
      break;
    default:
      break;
  }
  unsigned char r = 255;
  unsigned char g = 255;
  unsigned char b = 255;
  colorToRGB(color, r, g, b);
  for (int i = 0; i < length; i++) {
    drawCharacter(Vector(start.getX() + static_cast<float>(i), start.getY()),
                  str[static_cast<size_t>(i)], r, g, b);
  }
  return 0;
}

int DisplayManager::swapBuffers() {
  if (!isReadyToDraw()) {
    return -1;
  }
  completeFrame();
  if (flush() != 0) {
    return -1;
  }
  window->display();
  // The next frame starts from the background when it is first brought into the window: a
  // frame composed in the texture replaces every pixel, so clearing now would be wasted.
  composer->frameShown();
  return 0;
}

void DisplayManager::completeFrame() {
  std::swap(shown_cells, drawn_cells);
  drawn_cells.clear();
  drawn_character_count = 0;
  const GameManager& game_manager = GameManager::getInstance();
  capture.frameCompleted(game_manager.getStepsSinceStartUp(), game_manager.getFrameTime(),
                         shown_cells);
}

bool DisplayManager::isOutsideWindow(Vector view_pos) const {
  // A character covers the cell from its position right and down; a cell of margin on every
  // side leaves room for glyphs that reach past their cell.
  const float x = view_pos.getX();
  const float y = view_pos.getY();
  const bool inside = x > -2.0f && x < static_cast<float>(window_horizontal_chars) + 1.0f &&
                      y > -2.0f && y < static_cast<float>(window_vertical_chars) + 1.0f;
  return !inside;  // NaN positions are outside too
}

float cellWidth() {
  const DisplayManager& display_manager = DisplayManager::getInstance();
  return static_cast<float>(display_manager.getHorizontalPixels()) /
         static_cast<float>(display_manager.getHorizontalCells());
}

float cellHeight() {
  const DisplayManager& display_manager = DisplayManager::getInstance();
  return static_cast<float>(display_manager.getVerticalPixels()) /
         static_cast<float>(display_manager.getVerticalCells());
}

Vector worldToView(Vector world_pos) {
  return world_pos - WorldManager::getInstance().getView().getCorner();
}

Vector viewToWorld(Vector view_pos) {
  return view_pos + WorldManager::getInstance().getView().getCorner();
}

Vector spacesToPixels(Vector spaces) {
  const Vector pixels(spaces.getX() * cellWidth(), spaces.getY() * cellHeight());
  LogManager::getInstance().writeLog(
      30, "spacesToPixels(int): spaces (%.2f,%.2f) = pixels (%.2f,%.2f)",
      static_cast<double>(spaces.getX()), static_cast<double>(spaces.getY()),
      static_cast<double>(pixels.getX()), static_cast<double>(pixels.getY()));
  return pixels;
}

Vector pixelsToSpaces(Vector pixels) {
  const Vector spaces(pixels.getX() / cellWidth(), pixels.getY() / cellHeight());
  LogManager::getInstance().writeLog(
      30, "pixelsToSpaces(): pixels (%.2f,%.2f) = spaces (%.2f,%.2f)",
      static_cast<double>(pixels.getX()), static_cast<double>(pixels.getY()),
      static_cast<double>(spaces.getX()), static_cast<double>(spaces.getY()));
  return spaces;
}

void colorToRGB(Color color, unsigned char& r, unsigned char& g, unsigned char& b) {
  if (color == CUSTOM) {
    return;
  }
  if (!isNamedColor(color)) {
    LogManager::getInstance().writeLog(5, "colorToRGB(): Color %d not supported.",
                                       static_cast<int>(color));
    return;
  }
  const sf::Color& rgb = NAMED_COLORS[color];
  r = rgb.r;
  g = rgb.g;
  b = rgb.b;
}

sf::Color colorToSFML(Color color) {
  if (isNamedColor(color)) {
    return NAMED_COLORS[color];
  }
  if (color == CUSTOM) {
    LogManager::getInstance().writeLog(5, "colorToSFML(): Color is CUSTOM.");
  } else {
    LogManager::getInstance().writeLog(5, "colorToSFML(): Color %d not supported.",
                                       static_cast<int>(color));
  }
  return sf::Color::White;
}

}  // namespace tx
