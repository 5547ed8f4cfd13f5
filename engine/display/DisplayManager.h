#pragma once

#include <memory>
#include <string>

#include <SFML/Graphics/Color.hpp>

#include "tolvex/core/Manager.h"
#include "tolvex/display/CellGrid.h"
#include "tolvex/display/Color.h"
#include "tolvex/display/FrameCapture.h"
#include "tolvex/world/Vector.h"

namespace sf {
class Font;
class RectangleShape;
class RenderWindow;
class Text;
class Window;
}  // namespace sf

namespace tx {

class FrameComposer;

// Owns the program's one window and draws everything as coloured characters on a grid of
// cells. Every drawing call also fills the cells of the frame being drawn, in every mode; the
// swap completes that frame (getCells()) and writes it to the frame capture when one is
// configured. A window frame that mostly repeats the last one is composed in a texture, redrawn
// only where it changed (FrameComposer). In headless mode it keeps the cell geometry and the
// cells but creates no window.
class DisplayManager : public Manager {
 public:
  // The process-wide display manager; it draws nothing until started.
  static DisplayManager& getInstance();
  ~DisplayManager() override;
  DisplayManager(const DisplayManager&) = delete;
  DisplayManager& operator=(const DisplayManager&) = delete;

  // Reads the sizes from the configuration, then (unless headless) opens the window and loads
  // the font, and starts the frame capture when one is configured (TOLVEX_CAPTURE or
  // capture_frames; a capture that cannot start logs one line and the display starts without
  // it). Returns 0, or -1 with one log line; what was already made stays until shutDown().
  int startUp() override;
  // Closes and releases the window, text and rectangle, and ends the capture. The font stays
  // loaded.
  void shutDown() override;

  // Draws one character with its background cell at a world position (cells, not snapped),
  // into the cells of the frame and, with a window, into the window. Characters reach the
  // window at the next flush(), swapBuffers() or getWindow(), in call order, as if each had
  // been drawn at once. A character wholly outside the window costs nothing and is not drawn.
  // Returns 0, or -1 when not started.
  int drawCharacter(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b);
  // As above in one of the eight colours; CUSTOM and unknown values draw white.
  int drawCharacter(Vector world_pos, char ch, Color color);
  // Draws the string one cell per character, aligned around world_pos. Returns 0, or -1 when
  // not started. The results of the single characters are ignored.
  int drawText(Vector world_pos, std::string str, TextAlignment alignment, Color color);

  // Completes the frame drawn since the last swap: its cells become getCells(), the capture
  // writes it when its turn has come, and the window shows it. The next frame starts from the
  // background colour. Returns 0, or -1 when not started or without a window (nothing shown;
  // headless still completes the frame).
  int swapBuffers();

  // Brings the characters drawn since the last flush into the window, so that what the caller
  // draws into it next lands on top of them. Returns 0, or -1 when not started, headless or
  // without a window (nothing is pending then).
  int flush();

  // The last completed frame as cells (every cell blank before the first swap), the display's
  // size in cells; what the reference shows changes at the next swap.
  const CellGrid& getCells() const { return shown_cells; }
  // The last completed frame's characters, one line per row (CellGrid::toText()).
  std::string toText() const { return shown_cells.toText(); }
  // Characters drawn since the last swap that reach the window; those wholly outside it are
  // skipped and not counted.
  int getDrawnCharacterCount() const { return drawn_character_count; }
  // True when a character at this view position (cells) shows no pixel in the window.
  bool isOutsideWindow(Vector view_pos) const;

  // The display's size in cells, from the configuration; valid once started, headless
  // included.
  int getHorizontalCells() const { return window_horizontal_chars; }
  int getVerticalCells() const { return window_vertical_chars; }
  // The window's size in pixels, from the configuration; valid once started, headless included.
  int getHorizontalPixels() const { return window_horizontal_pixels; }
  int getVerticalPixels() const { return window_vertical_pixels; }

  // The window, owned by the display manager, for drawing into; null when headless, not started
  // or stopped. Flushes first, so that whatever the caller draws lands on top of the characters
  // drawn so far. A caller that keeps the pointer must call flush() (or this) again before it
  // draws in a later frame: a frame starts from the background when it first reaches the window.
  sf::RenderWindow* getWindow();
  // The same window for reading input (events, focus, the mouse), which cannot draw into it:
  // it leaves the frame alone, so that the frame can still be composed off the window.
  sf::Window* getInputWindow();

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
  // Starts the capture named by TOLVEX_CAPTURE or the configuration, if any.
  void startCapture();
  // Whether characters can be drawn: started. Logs when not.
  bool isReadyToDraw() const;
  // Closes and releases the window, text and rectangle, whichever exist.
  void shutDownGraphics();
  // The drawn cells become the shown ones and go to the capture; drawing starts on blank cells.
  void completeFrame();

  std::unique_ptr<sf::Font> font;
  std::unique_ptr<sf::RenderWindow> window;
  int window_horizontal_pixels = 0;
  int window_vertical_pixels = 0;
  int window_horizontal_chars = 0;
  int window_vertical_chars = 0;
  std::unique_ptr<sf::RectangleShape> rectangle;
  sf::Color window_background_color;
  std::unique_ptr<sf::Text> text;
  // The frame composed in a texture; uses the text and the rectangle, so it is released before
  // them.
  std::unique_ptr<FrameComposer> composer;
  // The cells of the frame being drawn and of the last completed one.
  CellGrid drawn_cells;
  CellGrid shown_cells;
  int drawn_character_count = 0;
  FrameCapture capture;
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
