#pragma once

#include <memory>
#include <string>

#include <SFML/Graphics/Color.hpp>

#include "tolvex/core/Manager.h"
#include "tolvex/display/Color.h"
#include "tolvex/world/Vector.h"

namespace sf {
class Font;
class RectangleShape;
class RenderWindow;
class Text;
}  // namespace sf

namespace tx {

class CellBatch;

// Owns the program's one window and draws everything as coloured characters on a grid of
// cells. In headless mode it keeps the cell geometry but creates no window and draws nothing.
class DisplayManager : public Manager {
 public:
  static DisplayManager& getInstance();
  ~DisplayManager() override;
  DisplayManager(const DisplayManager&) = delete;
  DisplayManager& operator=(const DisplayManager&) = delete;

  // Reads the sizes from the configuration, then (unless headless) opens the window and loads
  // the font. Returns 0, or -1 with one log line; what was already made stays until shutDown().
  int startUp() override;
  // Closes and releases the window, text and rectangle. The font stays loaded.
  void shutDown() override;

  // Draws one character with its background cell at a world position (cells, not snapped).
  // Characters are batched: they reach the window at the next flush(), swapBuffers() or
  // getWindow(), in call order, as if each had been drawn at once.
  // Returns 0, or -1 when not started, headless or without a window.
  int drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b);
  // As above in one of the eight colours; CUSTOM and unknown values draw white.
  int drawCharacter(Vector world_pos, char ch, Color color);
  // Draws the string one cell per character, aligned around world_pos. Returns 0, or -1 when
  // not started or headless. The results of the single characters are ignored.
  int drawText(Vector world_pos, std::string str, TextAlignment alignment, Color color);

  // Shows what was drawn since the last swap, then clears to the background colour.
  // Returns 0, or -1 when not started, headless or without a window.
  int swapBuffers();

  // Draws the characters batched since the last flush into the window: one draw call, plus one
  // for each background or glyph that reaches past the window's edge. Returns 0, or -1 when not
  // started, headless or without a window (nothing is pending then).
  int flush();

  // Sizes from the configuration; valid once started, headless included.
  int getHorizontalCells() const { return window_horizontal_chars; }
  int getVerticalCells() const { return window_vertical_chars; }
  int getHorizontalPixels() const { return window_horizontal_pixels; }
  int getVerticalPixels() const { return window_vertical_pixels; }

  // The window, owned by the display manager; null when headless, not started or stopped.
  // Flushes the batched characters first, so that whatever the caller draws lands on top of
  // them. A caller that keeps the pointer and draws later must call flush() itself.
  sf::RenderWindow* getWindow();

  // The font every character is drawn with; loaded once started with graphics.
  const sf::Font& getFont() const { return *font; }

 private:
  DisplayManager();

  // Copies the four sizes from the configuration; -1 (sizes unchanged) when one is not positive.
  int readSizes();
  // Opens the window, loads the font and prepares the rectangle, text and batch.
  int startGraphics();
  // Opens the window with the configured size, title and style; -1 when it cannot be opened.
  int openWindow();
  // Makes the background rectangle and the text every character is drawn with.
  int makeRectangleAndText();
  // Whether characters can be drawn: started and with a window. Logs when not started.
  bool isReadyToDraw() const;
  // Closes and releases the window, text and rectangle, whichever exist.
  void shutDownGraphics();

  std::unique_ptr<sf::Font> font;
  std::unique_ptr<sf::RenderWindow> window;
  int window_horizontal_pixels = 0;
  int window_vertical_pixels = 0;
  int window_horizontal_chars = 0;
  int window_vertical_chars = 0;
  std::unique_ptr<sf::RectangleShape> rectangle;
  sf::Color window_background_color;
  std::unique_ptr<sf::Text> text;
  // Characters drawn since the last flush; uses the text and the rectangle, so it is released
  // before them.
  std::unique_ptr<CellBatch> batch;
};

// Pixels per cell, horizontally and vertically, from the display manager's current sizes.
float cellWidth();
float cellHeight();

// World cells to cells relative to the corner of the world manager's view, and back.
Vector worldToView(Vector world_pos);
Vector viewToWorld(Vector view_pos);

// Cells to pixels and back; fractions are kept.
Vector spacesToPixels(Vector spaces);
Vector pixelsToSpaces(Vector pixels);

// Writes the components of colours BLACK to WHITE; leaves them untouched for CUSTOM and for
// unknown values (the latter logged).
void colorToRGB(Color color, unsigned char& r, unsigned char& g, unsigned char& b);
// The SFML colour; CUSTOM and unknown values give white, with a log line.
sf::Color colorToSFML(Color color);

}  // namespace tx
