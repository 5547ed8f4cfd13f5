#include "display/DisplayManager.h"

#include <algorithm>
#include <new>

#include "core/Config.h"
#include "core/LogManager.h"
#include "platform/DisplayConnection.h"
#include "world/WorldManager.h"

namespace tx {

// Sizes before start-up are the configuration's defaults, so the cell geometry is finite even
// for shapes and conversions used before the display starts.
DisplayManager::DisplayManager()
    : window_horizontal_pixels(1024),
      window_vertical_pixels(768),
      window_horizontal_chars(80),
      window_vertical_chars(24) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() {
  delete window;
  delete text;
  delete rectangle;
}

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

  const Config& config = Config::getInstance();
  // A zero or negative size would make every cell size infinite or negative.
  if (config.getWindowHorizontalPixels() <= 0 || config.getWindowVerticalPixels() <= 0 ||
      config.getWindowHorizontalChars() <= 0 || config.getWindowVerticalChars() <= 0) {
    log_manager.writeLog(
        "DisplayManager::startUp(): Error! Window size (%d, %d) pixels, (%d, %d) characters "
        "not supported.",
        config.getWindowHorizontalPixels(), config.getWindowVerticalPixels(),
        config.getWindowHorizontalChars(), config.getWindowVerticalChars());
    return -1;
  }
  window_horizontal_pixels = config.getWindowHorizontalPixels();
  window_vertical_pixels = config.getWindowVerticalPixels();
  window_horizontal_chars = config.getWindowHorizontalChars();
  window_vertical_chars = config.getWindowVerticalChars();

  if (config.getHeadless()) {
    log_manager.writeLog(1, "DisplayManager::startUp(): not doing graphics since in headless mode.");
  } else {
    // SFML aborts the process when it cannot reach the X server, so ask first, and hold that
    // connection until the window has one of its own.
    const DisplayConnection connection;
    if (!connection.isOpen()) {
      log_manager.writeLog("DisplayManager::startUp(): Unable to allocate window!");
      return -1;
    }
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    log_manager.writeLog(5, "DisplayManager::startUp(): window resolution (%d, %d) pixels.",
                         static_cast<int>(desktop.width), static_cast<int>(desktop.height));

    window = new (std::nothrow) sf::RenderWindow(
        sf::VideoMode(static_cast<unsigned int>(window_horizontal_pixels),
                      static_cast<unsigned int>(window_vertical_pixels), 32),
        sf::String(config.getWindowTitle()), static_cast<sf::Uint32>(config.getWindowStyle()),
        sf::ContextSettings());
    if (window == nullptr || !window->isOpen()) {
      delete window;
      window = nullptr;
      log_manager.writeLog("DisplayManager::startUp(): Unable to allocate window!");
      return -1;
    }
    window->setMouseCursorVisible(config.getShowMouse());
    window->setVerticalSyncEnabled(true);

    if (!font.loadFromFile(config.getFontFile())) {
      log_manager.writeLog("DisplayManager::startUp(): Unable to load font from file '%s'.",
                           config.getFontFile().c_str());
      return -1;
    }

    rectangle = new (std::nothrow) sf::RectangleShape(sf::Vector2f(cellWidth(), cellHeight()));
    if (rectangle == nullptr) {
      log_manager.writeLog("DisplayManager::startUp(): Unable to allocate rectangle.");
      return -1;
    }
    text = new (std::nothrow) sf::Text();
    if (text == nullptr) {
      log_manager.writeLog("DisplayManager::startUp(): Unable to allocate text.");
      return -1;
    }

    text->setFont(font);
    text->setStyle(sf::Text::Bold);
    const float character_size = config.getFontScale() * std::min(cellWidth(), cellHeight());
    text->setCharacterSize(character_size > 0.0f ? static_cast<unsigned int>(character_size) : 0u);

    window_background_color = colorToSFML(config.getWindowBackgroundColor());
    rectangle->setFillColor(window_background_color);
    // A new window's buffer holds undefined pixels; the first frame must not show them.
    window->clear(window_background_color);
  }

  Manager::startUp();
  log_manager.writeLog(5, "DisplayManager::startUp(): successfully started.");
  return 0;
}

void DisplayManager::shutDown() {
  shutDownGraphics();
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "DisplayManager::shutDown(): successfully stopped.");
}

void DisplayManager::shutDownGraphics() {
  if (window != nullptr) {
    window->close();
    delete window;
    window = nullptr;
  }
  delete text;
  text = nullptr;
  delete rectangle;
  rectangle = nullptr;
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g,
                                  unsigned char b) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (window == nullptr) {
    return -1;
  }
  const Vector pixel = spacesToPixels(worldToView(world_pos));
  drawCell(pixel.getX(), pixel.getY(), ch, sf::Color(r, g, b, 255));
  return 0;
}

void DisplayManager::drawCell(float pixel_x, float pixel_y, char ch, sf::Color fill) const {
  // The background is shifted against the glyph so that it covers the glyph's ink, which the
  // font places below the text position.
  rectangle->setPosition(pixel_x - cellWidth() / 10.0f, pixel_y + cellHeight() / 5.0f);
  window->draw(*rectangle);

  text->setString(sf::String(ch));
  text->setPosition(pixel_x, pixel_y);
  text->setFillColor(fill);
  window->draw(*text);
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, Color color) const {
  if (window == nullptr) {
    if (!isStarted()) {
      LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    }
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
                             Color color) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (window == nullptr) {
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
    drawCharacter(Vector(start.getX() + static_cast<float>(i), start.getY()), str[static_cast<size_t>(i)],
                  r, g, b);
  }
  return 0;
}

int DisplayManager::swapBuffers() {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (window == nullptr) {
    return -1;
  }
  window->display();
  window->clear(window_background_color);
  return 0;
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
  LogManager::getInstance().writeLog(30, "spacesToPixels(int): spaces (%.2f,%.2f) = pixels (%.2f,%.2f)",
                                     static_cast<double>(spaces.getX()),
                                     static_cast<double>(spaces.getY()),
                                     static_cast<double>(pixels.getX()),
                                     static_cast<double>(pixels.getY()));
  return pixels;
}

Vector pixelsToSpaces(Vector pixels) {
  const Vector spaces(pixels.getX() / cellWidth(), pixels.getY() / cellHeight());
  LogManager::getInstance().writeLog(30, "pixelsToSpaces(): pixels (%.2f,%.2f) = spaces (%.2f,%.2f)",
                                     static_cast<double>(pixels.getX()),
                                     static_cast<double>(pixels.getY()),
                                     static_cast<double>(spaces.getX()),
                                     static_cast<double>(spaces.getY()));
  return spaces;
}

void colorToRGB(Color color, unsigned char& r, unsigned char& g, unsigned char& b) {
  switch (color) {
    case BLACK: r = 0; g = 0; b = 0; break;
    case RED: r = 255; g = 0; b = 0; break;
    case GREEN: r = 0; g = 255; b = 0; break;
    case YELLOW: r = 255; g = 255; b = 0; break;
    case BLUE: r = 0; g = 0; b = 255; break;
    case MAGENTA: r = 255; g = 0; b = 255; break;
    case CYAN: r = 0; g = 255; b = 255; break;
    case WHITE: r = 255; g = 255; b = 255; break;
    case CUSTOM: break;
    default:
      LogManager::getInstance().writeLog(5, "colorToRGB(): Color %d not supported.",
                                         static_cast<int>(color));
      break;
  }
}

sf::Color colorToSFML(Color color) {
  switch (color) {
    case BLACK: return sf::Color::Black;
    case RED: return sf::Color::Red;
    case GREEN: return sf::Color::Green;
    case YELLOW: return sf::Color::Yellow;
    case BLUE: return sf::Color::Blue;
    case MAGENTA: return sf::Color::Magenta;
    case CYAN: return sf::Color::Cyan;
    case WHITE: return sf::Color::White;
    case CUSTOM:
      LogManager::getInstance().writeLog(5, "colorToSFML(): Color is CUSTOM.");
      return sf::Color::White;
    default:
      LogManager::getInstance().writeLog(5, "colorToSFML(): Color %d not supported.",
                                         static_cast<int>(color));
      return sf::Color::White;
  }
}

}  // namespace tx
