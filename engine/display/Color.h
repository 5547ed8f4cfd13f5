#pragma once

namespace tx {

// The eight character colours; CUSTOM means the caller keeps its own components.
enum Color {
  BLACK = 0,
  RED,
  GREEN,
  YELLOW,
  BLUE,
  MAGENTA,
  CYAN,
  WHITE,
  CUSTOM,
};

// The colour characters are drawn in when none is given.
constexpr Color COLOR_DEFAULT = WHITE;

// Horizontal alignment of drawn text around its position.
enum TextAlignment {
  ALIGN_LEFT = 0,
  ALIGN_CENTER = 1,
  ALIGN_RIGHT = 2,
};

}  // namespace tx
