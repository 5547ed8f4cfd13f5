#include "tolvex/display/FrameCapture.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "tolvex/core/LogManager.h"

namespace tx {

namespace {

// The header line of a frame, for writing and, through the round trip in readHeader, reading.
const char* const HEADER_FORMAT = "step:%d,columns:%d,rows:%d,frame_time:%d,background:%c,";

std::string header(const CapturedFrame& frame, int columns, int rows) {
  char line[160];
  std::snprintf(line, sizeof line, HEADER_FORMAT, frame.step, columns, rows, frame.frame_time,
                frame.background);
  return line;
}

// Splits text of whole lines into its lines.
std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos;
       start = end + 1, end = text.find('\n', start))
    result.push_back(text.substr(start, end - start));
  return result;
}

// Reads a header line into frame and the size; false unless the line is exactly what the
// writer makes of those values, with a size of at least one cell.
bool readHeader(const std::string& line, CapturedFrame& frame, int& columns, int& rows) {
  char background = 0;
  if (std::sscanf(line.c_str(), HEADER_FORMAT, &frame.step, &columns, &rows, &frame.frame_time,
                  &background) != 5 ||
      columns < 1 || rows < 1)
    return false;
  frame.background = background;
  return CellGrid::colorCode(CellGrid::colorOfCode(background)) == background &&
         header(frame, columns, rows) == line;
}

bool isTextCharacter(char ch) { return CellGrid::textCharacter(ch) == ch; }

bool isColorCode(char code) {
  return code == '.' || code == '?' || CellGrid::colorCode(CellGrid::colorOfCode(code)) == code;
}

// Reads `rows` lines of `columns` characters that `fits` accepts into block; false at the first
// line that is missing or does not fit. line_number counts the lines read, and a missing one.
bool readBlock(std::istream& in, int columns, int rows, bool (*fits)(char),
               std::vector<std::string>& block, int& line_number) {
  std::string line;
  for (int row = 0; row < rows; row++) {
    line_number++;
    if (!std::getline(in, line)) return false;
    if (static_cast<int>(line.size()) != columns || !std::all_of(line.begin(), line.end(), fits))
      return false;
    block.push_back(line);
  }
  return true;
}

}  // namespace

int FrameCapture::open(const std::string& file_path, int frames_per_capture) {
  close();
  file.open(file_path, std::ios::out | std::ios::trunc);
  if (!file.is_open()) {
    LogManager::getInstance().writeLog(
        "FrameCapture::open(): Error! Unable to open capture file '%s'.", file_path.c_str());
    return -1;
  }
  path = file_path;
  every = frames_per_capture < 1 ? 1 : frames_per_capture;
  completed = 0;
  return 0;
}

void FrameCapture::close() {
  if (file.is_open()) file.close();
  file.clear();
}

void FrameCapture::frameCompleted(int step, int frame_time, const CellGrid& cells) {
  if (!file.is_open()) return;
  if (completed++ % every != 0) return;
  // Flushed frame by frame, so that a capture can be read while the game runs, or after a crash.
  file << format(capture(step, frame_time, cells)) << std::flush;
  if (!file) {
    LogManager::getInstance().writeLog(
        "FrameCapture::frameCompleted(): Error! Unable to write to capture file '%s'. Capture "
        "stopped.",
        path.c_str());
    close();
  }
}

CapturedFrame FrameCapture::capture(int step, int frame_time, const CellGrid& cells) {
  CapturedFrame frame;
  frame.step = step;
  frame.frame_time = frame_time;
  frame.background = CellGrid::colorCode(cells.getBackground());
  frame.characters = lines(cells.toText());
  frame.colors = lines(cells.toColorText());
  return frame;
}

std::string FrameCapture::format(const CapturedFrame& frame) {
  std::string text = header(frame, frame.getColumns(), frame.getRows()) + '\n';
  for (const std::string& row : frame.characters) text += row + '\n';
  for (const std::string& row : frame.colors) text += row + '\n';
  return text;
}

std::vector<CapturedFrame> FrameCapture::readFrames(std::istream& in, int* bad_line) {
  std::vector<CapturedFrame> frames;
  int line_number = 0;
  std::string line;
  if (bad_line != nullptr) *bad_line = 0;
  while (std::getline(in, line)) {
    line_number++;
    CapturedFrame frame;
    int columns = 0;
    int rows = 0;
    if (!readHeader(line, frame, columns, rows) ||
        !readBlock(in, columns, rows, isTextCharacter, frame.characters, line_number) ||
        !readBlock(in, columns, rows, isColorCode, frame.colors, line_number)) {
      if (bad_line != nullptr) *bad_line = line_number;
      break;
    }
    frames.push_back(std::move(frame));
  }
  return frames;
}

}  // namespace tx
