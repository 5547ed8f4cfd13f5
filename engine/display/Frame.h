#pragma once

#include <string>

#include "tolvex/display/Color.h"
#include "tolvex/world/Vector.h"

namespace tx {

// A rectangle of characters, stored row after row. A default frame is empty and draws nothing.
class Frame {
 public:
  Frame() = default;
  // A frame of init_width x init_height cells; init_text holds the rows one after another, with
  // nothing between them.
  Frame(int init_width, int init_height, std::string init_text)
      : width(init_width), height(init_height), text(std::move(init_text)) {}

  // Size in cells.
  int getWidth() const { return width; }
  void setWidth(int new_width) { width = new_width; }
  int getHeight() const { return height; }
  void setHeight(int new_height) { height = new_height; }
  // The characters, row after row (width x height of them).
  std::string getString() const { return text; }
  void setString(std::string new_text) { text = std::move(new_text); }

  // Draws the frame centred on position (world cells), skipping the transparency character
  // (0 for none). Returns 0, or -1 at the first character the display could not draw.
  int draw(Vector position, Color color, char transparency = 0) const;

 private:
  int width = 0;
  int height = 0;
  std::string text;
};

}  // namespace tx
