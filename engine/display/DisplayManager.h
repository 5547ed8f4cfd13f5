#pragma once

#include <string>

#include <SFML/Graphics.hpp>

#include "core/Manager.h"
#include "display/Color.h"
#include "world/Vector.h"

namespace tx {

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
  // Returns 0, or -1 when not started, headless or without a window.
  int drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g,
                    unsigned char b) const;
  // As above in one of the eight colours; CUSTOM and unknown values draw white.
  int drawCharacter(Vector world_pos, char ch, Color color) const;
  // Draws the string one cell per character, aligned around world_pos. Returns 0, or -1 when
  // not started or headless. The results of the single characters are ignored.
  int drawText(Vector world_pos, std::string str, TextAlignment alignment, Color color) const;

  // Shows what was drawn since the last swap, then clears to the background colour.
  // Returns 0, or -1 when not started, headless or without a window.
  int swapBuffers();

  // Sizes from the configuration; valid once started, headless included.
  int getHorizontalCells() const { return window_horizontal_chars; }
  int getVerticalCells() const { return window_vertical_chars; }
  int getHorizontalPixels() const { return window_horizontal_pixels; }
  int getVerticalPixels() const { return window_vertical_pixels; }

  // The window, owned by the display manager; null when headless, not started or stopped.
  sf::RenderWindow* getWindow() const { return window; }

 private:
  DisplayManager();

  // Closes and releases the window, text and rectangle, whichever exist.
  void shutDownGraphics();
  // Draws one glyph over its background rectangle at a pixel position in the window.
  void drawCell(float pixel_x, float pixel_y, char ch, sf::Color fill) const;

  sf::Font font;
  sf::RenderWindow* window = nullptr;
  int window_horizontal_pixels = 0;
  int window_vertical_pixels = 0;
  int window_horizontal_chars = 0;
  int window_vertical_chars = 0;
  sf::RectangleShape* rectangle = nullptr;
  sf::Color window_background_color;
  sf::Text* text = nullptr;
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
