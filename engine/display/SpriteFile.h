#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tolvex/display/Frame.h"
#include "tolvex/display/Sprite.h"

namespace tx {

// Reads one sprite file: a header with the frame size and the look, a body of frames and a
// footer with the version. Every problem is logged, naming the file line it was found on.
// The resource manager's own reader; not part of the engine's interface.
class SpriteFile {
 public:
  // Reads from input, positioned at the start of the file; input must outlive the reader.
  explicit SpriteFile(std::istream& file_input);

  // The sprite the file describes, not yet labelled; null after the log lines that say what is
  // wrong. Reads the file once.
  std::unique_ptr<Sprite> read();

 private:
  // Takes the frame size and the look from the header and logs them. False when the section or
  // a size is missing or wrong.
  bool readHeader();
  // Makes the sprite and fills it with exactly the declared number of frames from the body;
  // null when the body does not hold them.
  std::unique_ptr<Sprite> readBody();
  // Checks the footer for its version. False when the section or the version is missing.
  bool readFooter();

  // One line without its line feed (and one trailing carriage return); empty at the end of the
  // file or when the line cannot be read.
  std::string getLine();
  // The lines between "<tag>" and "</tag>"; false (lines empty) when the opening tag is not the
  // next line, the closing tag never comes, or nothing lies between them.
  bool readData(const std::string& tag, std::vector<std::string>& lines);
  // Takes every line that begins with key out of lines, in order; the last one's value wins.
  // -1 (integers) or empty (text) when none does.
  int matchLineInt(std::vector<std::string>& lines, const std::string& key);
  std::string matchLineStr(std::vector<std::string>& lines, const std::string& key);
  // The lines matchLineInt and matchLineStr take, each counted as a file line.
  std::vector<std::string> takeLines(std::vector<std::string>& lines, const std::string& key);
  // frames, width and height: false when one is missing or negative.
  bool readSize(std::vector<std::string>& header);
  // color, transparency and slowdown, or their defaults after a warning.
  void readLook(std::vector<std::string>& header);
  void logHeader() const;
  // Logs the lines no key took; they count as file lines.
  void reportUnused(const char* section, const std::vector<std::string>& lines);

  // A sprite of the header's size and look, with room for the frames the body can hold.
  std::unique_ptr<Sprite> makeSprite(std::size_t body_lines) const;
  bool readFrames(const std::vector<std::string>& body, Sprite& sprite);
  // The frame starting at body[next] (height rows of width characters, then "end"); next moves
  // past what was read.
  std::optional<Frame> readFrame(const std::vector<std::string>& body, std::size_t& next);
  bool readRows(const std::vector<std::string>& body, std::size_t& next, std::string& text);
  bool readEnd(const std::vector<std::string>& body, std::size_t& next);
  void reportExtraBody(const std::vector<std::string>& body, std::size_t next);

  std::istream& input;
  // The line named in the messages. Lines are counted as they are taken, so for a file without
  // blank or left-over lines it is the file line being reported.
  int line_number = 0;
  int frames = 0;
  int width = 0;
  int height = 0;
  std::string color_name;
  char transparency = 0;
  int slowdown = 0;
};

}  // namespace tx
