#pragma once

#include <array>
#include <string>
#include <vector>

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
  // Characters are batched: they reach the window at the next flush(), swapBuffers() or
  // getWindow(), in call order, exactly as if each had been drawn at once.
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

  // Draws the characters batched since the last flush into the window: one draw call, plus
  // one for each background or glyph that reaches past the window's edge. Returns 0, or -1
  // when not started, headless or without a window (nothing is pending then).
  int flush() const;

  // Sizes from the configuration; valid once started, headless included.
  int getHorizontalCells() const { return window_horizontal_chars; }
  int getVerticalCells() const { return window_vertical_chars; }
  int getHorizontalPixels() const { return window_horizontal_pixels; }
  int getVerticalPixels() const { return window_vertical_pixels; }

  // The window, owned by the display manager; null when headless, not started or stopped.
  // Flushes the batched characters first, so that whatever the caller draws lands on top of
  // them. A caller that keeps the pointer and draws later must call flush() itself.
  sf::RenderWindow* getWindow() const;

  // The font every character is drawn with; loaded once started with graphics.
  const sf::Font& getFont() const { return font; }

 private:
  DisplayManager();

  // Closes and releases the window, text and rectangle, whichever exist.
  void shutDownGraphics();
  // Appends one glyph over its background rectangle at a pixel position to the batch.
  void drawCell(float pixel_x, float pixel_y, char ch, sf::Color fill) const;
  // Draws the batch into the window and empties it; the window must exist.
  void drawBatch() const;
  // Appends two triangles covering the rectangle (corners relative to the translation, in
  // pixels), with texture coordinates in pixels. The corners are stored in clip coordinates.
  void appendQuad(const float* projection, float translation_x, float translation_y, float left,
                  float top, float right, float bottom, float u1, float v1, float u2, float v2,
                  sf::Color fill) const;

  sf::Font font;
  sf::RenderWindow* window = nullptr;
  int window_horizontal_pixels = 0;
  int window_vertical_pixels = 0;
  int window_horizontal_chars = 0;
  int window_vertical_chars = 0;
  sf::RectangleShape* rectangle = nullptr;
  sf::Color window_background_color;
  sf::Text* text = nullptr;

  // Triangles of the characters drawn since the last flush; cleared, never shrunk, so that
  // drawing a character allocates nothing once the busiest frame has been seen.
  mutable std::vector<sf::Vertex> batch;
  // The last quad in the batch reaches outside the window and must be drawn alone.
  mutable bool batch_ends_after_quad = false;
  // The code point each char becomes, converted once with the locale at start-up as sf::String
  // converts a char.
  std::array<sf::Uint32, 256> code_points{};
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
