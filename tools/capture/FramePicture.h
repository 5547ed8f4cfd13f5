#pragma once

#include <string>
#include <utility>

#include "tolvex/display/FrameCapture.h"

// Renders a captured frame to a PNG file the way the game's window shows it: the game's font,
// bold, on cells of the default window (12.8 x 32 pixels, so 1024 x 768 for 80 x 24 cells), each
// character on its background cell in its colour ('?' colours in white). Needs an X display.
class FramePicture {
 public:
  // The font file the game draws with.
  explicit FramePicture(std::string font_file) : font_path(std::move(font_file)) {}

  // Writes frame to path as PNG; false, with a message on standard error, when the font cannot
  // be loaded or the image cannot be made or written.
  bool save(const tx::CapturedFrame& frame, const std::string& path) const;

 private:
  std::string font_path;
};
