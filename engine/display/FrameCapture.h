#pragma once

#include <fstream>
#include <istream>
#include <string>
#include <vector>

#include "tolvex/display/CellGrid.h"

namespace tx {

// One frame of a capture: the step it was shown in and the screen as text.
struct CapturedFrame {
  // The step the frame was shown in, counted from the engine's start-up.
  int step = 0;
  // The configured frame time, milliseconds.
  int frame_time = 0;
  // The colour letter of the window background (see below).
  char background = 'k';
  // One string per row, one character per column: the characters, then their colour codes.
  std::vector<std::string> characters;
  std::vector<std::string> colors;

  // Size in cells, from the character rows.
  int getColumns() const { return characters.empty() ? 0 : static_cast<int>(characters[0].size()); }
  int getRows() const { return static_cast<int>(characters.size()); }
  // Equal when every field is.
  bool operator==(const CapturedFrame& other) const {
    return step == other.step && frame_time == other.frame_time && background == other.background &&
           characters == other.characters && colors == other.colors;
  }
  bool operator!=(const CapturedFrame& other) const { return !(*this == other); }
};

// Writes completed frames to a capture file, one frame in every N, and reads them back.
//
// A capture is plain text, frame after frame, each line ended by a line feed. A frame is
//
//   step:120,columns:80,rows:24,frame_time:33,background:k,
//   ROWS lines of COLUMNS characters: the characters of the cells
//   ROWS lines of COLUMNS colour codes: one per cell, in the same places
//
// The header gives the step the frame was shown in (from start-up), the size in cells,
// the frame time in milliseconds (the pace of the steps) and the window background's letter.
// A character that is not printable ASCII is written as '?'. The colour codes are
//
//   .  the cell shows no character (nothing drawn, a blank, a tab, a line feed or a return)
//   k r g y b m c w  the character's colour: black, red, green, yellow, blue, magenta, cyan, white
//   ?  any other colour (one drawn by its components)
//
// Shapes are pixels, not cells, and do not appear.
class FrameCapture {
 public:
  // Starts a capture into file_path (replacing the file) that writes one completed frame in every
  // frames_per_capture (values below 1 count as 1), the first frame included. -1 with one log line
  // when the file cannot be opened; nothing is captured then.
  int open(const std::string& file_path, int frames_per_capture);
  // Ends the capture; the file keeps every frame written.
  void close();
  // True from a successful open() until close() or a failed write.
  bool isOpen() const { return file.is_open(); }

  // Counts a completed frame and writes it when its turn has come. A failed write logs one line
  // and ends the capture.
  void frameCompleted(int step, int frame_time, const CellGrid& cells);

  // The frame as a capture holds it.
  static CapturedFrame capture(int step, int frame_time, const CellGrid& cells);
  // Its text, header to last colour row.
  static std::string format(const CapturedFrame& frame);
  // The whole frames of a capture, up to the first line that does not fit the format (a
  // truncated or garbled frame); bad_line, when given, receives that line's number (from 1), or
  // 0 when every line was read.
  static std::vector<CapturedFrame> readFrames(std::istream& in, int* bad_line = nullptr);

 private:
  std::ofstream file;
  std::string path;
  int every = 1;
  // Frames completed since the capture started.
  long long completed = 0;
};

}  // namespace tx
