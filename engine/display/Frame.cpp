#include "tolvex/display/Frame.h"

#include <climits>
#include <cmath>

#include "tolvex/display/DisplayManager.h"

namespace tx {

namespace {

// The first of a frame's rows or columns that can show, for a frame whose first one is at
// corner (view cells); the display skips the others anyway, this only saves visiting them.
int firstVisible(float corner) {
  const float first = std::floor(-2.0f - corner);
  if (!(first > 0.0f)) return 0;  // NaN too: the display sorts those out
  return first >= static_cast<float>(INT_MAX) ? INT_MAX : static_cast<int>(first);
}

// One past the last of size rows or columns that can show in a window of cells.
int endVisible(float corner, int size, int cells) {
  const float end = std::ceil(static_cast<float>(cells) + 1.0f - corner);
  if (!(end < static_cast<float>(size))) return size;
  return end <= 0.0f ? 0 : static_cast<int>(end);
}

}  // namespace

int Frame::draw(Vector position, Color color, char transparency) const {
  if (text.empty() || height <= 0) {
    return 0;
  }
  DisplayManager& display_manager = DisplayManager::getInstance();
  // Integer halves first, so that even sizes straddle the position by half a cell.
  const float x_offset = static_cast<float>(width - 1) * 0.5f;
  const float y_offset = static_cast<float>(height - 1) * 0.5f;
  // Only the rows and columns that can reach the window: a frame may be far larger than it.
  // Before start-up every character is tried, so that the first one reports the failure.
  int first_x = 0;
  int first_y = 0;
  int end_x = width;
  int end_y = height;
  if (display_manager.isStarted()) {
    const Vector corner =
        worldToView(Vector(position.getX() - x_offset, position.getY() - y_offset));
    first_x = firstVisible(corner.getX());
    first_y = firstVisible(corner.getY());
    end_x = endVisible(corner.getX(), width, display_manager.getHorizontalCells());
    end_y = endVisible(corner.getY(), height, display_manager.getVerticalCells());
  }
  for (int y = first_y; y < end_y; y++) {
    for (int x = first_x; x < end_x; x++) {
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
