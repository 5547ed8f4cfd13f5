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
    log_manager.writeLog(1,
                         "DisplayManager::startUp(): not doing graphics since in headless mode.");
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

    window = new (std::nothrow)
        sf::RenderWindow(sf::VideoMode(static_cast<unsigned int>(window_horizontal_pixels),
                                       static_cast<unsigned int>(window_vertical_pixels), 32),
                         sf::String(config.getWindowTitle()),
                         static_cast<sf::Uint32>(config.getWindowStyle()), sf::ContextSettings());
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

    // Every glyph a char can show goes into the font's texture now. A glyph added later could
    // grow the texture in the middle of a batch, and the characters batched before it would
    // then be sampled through the grown texture's coordinates, a shade off from drawing them
    // at once. 'x' and ' ' are the glyphs sf::Text measures.
    const bool bold = (text->getStyle() & sf::Text::Bold) != 0;
    font.getGlyph(U'x', text->getCharacterSize(), bold);
    font.getGlyph(U' ', text->getCharacterSize(), bold);
    for (std::size_t c = 0; c < code_points.size(); c++) {
      const sf::String converted(static_cast<char>(c));
      code_points[c] = converted.isEmpty() ? 0u : converted[0];
      font.getGlyph(code_points[c], text->getCharacterSize(), bold);
    }
    // A full screen of characters, two quads of six corners each (bounded for huge grids,
    // where the batch grows to the busiest frame instead).
    const std::size_t cells = static_cast<std::size_t>(window_horizontal_chars) *
                              static_cast<std::size_t>(window_vertical_chars);
    batch.reserve(std::min<std::size_t>(cells, 16384u) * 12u);
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
  // Characters drawn but never flushed belong to the closed window.
  batch.clear();
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
  const float* projection = window->getView().getTransform().getMatrix();

  // The background is shifted against the glyph so that it covers the glyph's ink, which the
  // font places below the text position. It is textured with the centre of the white square
  // the font keeps at the corner of its texture, so the fill colour comes through unchanged.
  const sf::Vector2f cell = rectangle->getSize();
  appendQuad(projection, pixel_x - cellWidth() / 10.0f, pixel_y + cellHeight() / 5.0f, 0.0f, 0.0f,
             cell.x, cell.y, 1.0f, 1.0f, 1.0f, 1.0f, rectangle->getFillColor());

  // The glyph quad as sf::Text builds it for a one-character string: the glyph's bounds grown
  // by one pixel of padding, the baseline one character size below the text position.
  const sf::Uint32 code = code_points[static_cast<unsigned char>(ch)];
  if (code == U' ' || code == U'\n' || code == U'\t' || code == U'\r') {
    return;  // sf::Text draws nothing for these.
  }
  const unsigned int size = text->getCharacterSize();
  const bool bold = (text->getStyle() & sf::Text::Bold) != 0;
  const sf::Glyph& glyph = font.getGlyph(code, size, bold);
  const float padding = 1.0f;
  const float baseline = static_cast<float>(size);
  const float left = glyph.bounds.left - padding;
  const float top = glyph.bounds.top - padding;
  const float right = glyph.bounds.left + glyph.bounds.width + padding;
  const float bottom = glyph.bounds.top + glyph.bounds.height + padding;
  const float u1 = static_cast<float>(glyph.textureRect.left) - padding;
  const float v1 = static_cast<float>(glyph.textureRect.top) - padding;
  const float u2 = static_cast<float>(glyph.textureRect.left + glyph.textureRect.width) + padding;
  const float v2 = static_cast<float>(glyph.textureRect.top + glyph.textureRect.height) + padding;
  appendQuad(projection, pixel_x, pixel_y, left, baseline + top, right, baseline + bottom, u1, v1,
             u2, v2, fill);
}

void DisplayManager::appendQuad(const float* projection, float translation_x, float translation_y,
                                float left, float top, float right, float bottom, float u1,
                                float v1, float u2, float v2, sf::Color fill) const {
  // Drawn on its own, a quad reaches the rasteriser as (projection x translation), one matrix
  // multiplied in single precision (row by column, terms left to right), applied to its local
  // corners (products summed in order: x, y, z = 0, w = 1). Adding the translation to the
  // corners first would round differently, and a corner off in its last bit shifts the glyph's
  // texels by a shade. So the corners go to clip coordinates here in those same steps, and the
  // batch is drawn with an identity projection (see drawBatch()). Every product is rounded on
  // its own, as the driver rounds it: the steps are separate statements so that they are not
  // fused into multiply-adds (GCC still fuses them when built for a processor with FMA).
  const float* p = projection;
  const float xx = p[0] * 1.0f + p[4] * 0.0f + p[8] * 0.0f + p[12] * 0.0f;
  const float xy = p[0] * 0.0f + p[4] * 1.0f + p[8] * 0.0f + p[12] * 0.0f;
  const float xw = p[0] * translation_x + p[4] * translation_y + p[8] * 0.0f + p[12] * 1.0f;
  const float yx = p[1] * 1.0f + p[5] * 0.0f + p[9] * 0.0f + p[13] * 0.0f;
  const float yy = p[1] * 0.0f + p[5] * 1.0f + p[9] * 0.0f + p[13] * 0.0f;
  const float yw = p[1] * translation_x + p[5] * translation_y + p[9] * 0.0f + p[13] * 1.0f;
  const float xs[4] = {left, right, left, right};
  const float ys[4] = {top, top, bottom, bottom};
  sf::Vector2f clip[4];
  for (int i = 0; i < 4; i++) {
    float x = xx * xs[i];
    const float x_from_y = xy * ys[i];
    x += x_from_y;
    x += xw;
    float y = yx * xs[i];
    const float y_from_y = yy * ys[i];
    y += y_from_y;
    y += yw;
    clip[i] = sf::Vector2f(x, y);
  }

  // The driver takes a draw with any corner outside the window through its clipping path,
  // which shades every quad of that draw a little differently. A quad reaching outside is
  // therefore drawn on its own, as it was when each character was drawn by itself.
  bool outside = false;
  for (const sf::Vector2f& corner : clip) {
    outside = outside || corner.x < -1.0f || corner.x > 1.0f || corner.y < -1.0f || corner.y > 1.0f;
  }
  if (outside || batch_ends_after_quad) {
    drawBatch();
  }
  batch_ends_after_quad = outside;

  // The corner order of sf::Text's quads.
  batch.emplace_back(clip[0], fill, sf::Vector2f(u1, v1));
  batch.emplace_back(clip[1], fill, sf::Vector2f(u2, v1));
  batch.emplace_back(clip[2], fill, sf::Vector2f(u1, v2));
  batch.emplace_back(clip[2], fill, sf::Vector2f(u1, v2));
  batch.emplace_back(clip[1], fill, sf::Vector2f(u2, v1));
  batch.emplace_back(clip[3], fill, sf::Vector2f(u2, v2));
}

int DisplayManager::flush() const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (window == nullptr) {
    return -1;
  }
  drawBatch();
  return 0;
}

void DisplayManager::drawBatch() const {
  if (batch.empty()) {
    return;
  }
  // Every glyph entered the font's texture at start-up, so the texture has kept its size since
  // the first character of the batch.
  sf::RenderStates states;
  states.texture = &font.getTexture(text->getCharacterSize());
  // The corners are in clip coordinates already: a view of size (2, -2) centred on the origin
  // is the identity projection.
  const sf::View view = window->getView();
  sf::View identity(sf::Vector2f(0.0f, 0.0f), sf::Vector2f(2.0f, -2.0f));
  identity.setViewport(view.getViewport());
  window->setView(identity);
  window->draw(batch.data(), batch.size(), sf::Triangles, states);
  window->setView(view);
  batch.clear();
  batch_ends_after_quad = false;
}

sf::RenderWindow* DisplayManager::getWindow() const {
  if (window != nullptr) {
    drawBatch();
  }
  return window;
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
    drawCharacter(Vector(start.getX() + static_cast<float>(i), start.getY()),
                  str[static_cast<size_t>(i)], r, g, b);
  }
  return 0;
}

int DisplayManager::swapBuffers() {
  if (flush() != 0) {
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
  switch (color) {
    case BLACK:
      r = 0;
      g = 0;
      b = 0;
      break;
    case RED:
      r = 255;
      g = 0;
      b = 0;
      break;
    case GREEN:
      r = 0;
      g = 255;
      b = 0;
      break;
    case YELLOW:
      r = 255;
      g = 255;
      b = 0;
      break;
    case BLUE:
      r = 0;
      g = 0;
      b = 255;
      break;
    case MAGENTA:
      r = 255;
      g = 0;
      b = 255;
      break;
    case CYAN:
      r = 0;
      g = 255;
      b = 255;
      break;
    case WHITE:
      r = 255;
      g = 255;
      b = 255;
      break;
    case CUSTOM:
      break;
    default:
      LogManager::getInstance().writeLog(5, "colorToRGB(): Color %d not supported.",
                                         static_cast<int>(color));
      break;
  }
}

sf::Color colorToSFML(Color color) {
  switch (color) {
    case BLACK:
      return sf::Color::Black;
    case RED:
      return sf::Color::Red;
    case GREEN:
      return sf::Color::Green;
    case YELLOW:
      return sf::Color::Yellow;
    case BLUE:
      return sf::Color::Blue;
    case MAGENTA:
      return sf::Color::Magenta;
    case CYAN:
      return sf::Color::Cyan;
    case WHITE:
      return sf::Color::White;
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
