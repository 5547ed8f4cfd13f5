#include "tolvex/display/Frame.h"

#include "tolvex/display/DisplayManager.h"

namespace tx {

int Frame::draw(Vector position, Color color, char transparency) const {
  if (text.empty() || height <= 0) {
    return 0;
  }
  DisplayManager& display_manager = DisplayManager::getInstance();
  // Integer halves first, so that even sizes straddle the position by half a cell.
  const float x_offset = static_cast<float>(width - 1) * 0.5f;
  const float y_offset = static_cast<float>(height - 1) * 0.5f;
  for (int y = 0; y < height; y++) {
    for (int x = 0; x < width; x++) {
      const size_t at =
          static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      // A frame built by hand may hold fewer characters than its size claims.
      if (at >= text.size()) {
        return 0;
      }
      const char c = text[at];
      if (transparency != 0 && c == transparency) {
        continue;
      }
      const Vector cell(position.getX() + static_cast<float>(x) - x_offset,
                        position.getY() + static_cast<float>(y) - y_offset);
      if (display_manager.drawCharacter(cell, c, color) != 0) {
        return -1;
      }
    }
  }
  return 0;
}

}  // namespace tx
