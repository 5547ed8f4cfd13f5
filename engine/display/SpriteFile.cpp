#include "tolvex/display/SpriteFile.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <new>

#include "tolvex/core/LogManager.h"
#include "tolvex/core/utility.h"

namespace tx {

namespace {

// Longest line the reader takes; anything longer is junk, not a sprite row.
constexpr std::size_t MAX_SPRITE_LINE = 65536;
// Longest piece of a file line quoted in a log line.
constexpr std::size_t MAX_QUOTED = 200;

// A file line made safe to quote in the log: bytes outside printable ASCII shown as '?', long
// lines cut short.
std::string printable(const std::string& line) {
  std::string text = line.substr(0, MAX_QUOTED);
  for (char& c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7f) {
      c = '?';
    }
  }
  if (line.size() > MAX_QUOTED) {
    text += "...";
  }
  return text;
}

bool startsWith(const std::string& line, const std::string& key) {
  return line.compare(0, key.size(), key) == 0;
}

// The text after the key and its one separator character; a line holding the key alone has an
// empty value.
std::string valueAfterKey(const std::string& line, const std::string& key) {
  return line.size() > key.size() ? line.substr(key.size() + 1) : std::string();
}

// Index of the last line that begins with key (the one whose value wins), or -1.
int lastLineWithKey(const std::vector<std::string>& lines, const std::string& key) {
  int found = -1;
  for (std::size_t i = 0; i < lines.size(); i++) {
    if (startsWith(lines[i], key)) {
      found = static_cast<int>(i);
    }
  }
  return found;
}

// The colour named in a sprite header; false for a name that is not one of the eight colours
// or "default".
bool colorFromName(const std::string& name, Color& color) {
  static const struct {
    const char* name;
    Color color;
  } names[] = {{"black", BLACK},   {"red", RED},     {"green", GREEN},
               {"yellow", YELLOW}, {"blue", BLUE},   {"magenta", MAGENTA},
               {"cyan", CYAN},     {"white", WHITE}, {"default", COLOR_DEFAULT}};
  for (const auto& entry : names) {
    if (name == entry.name) {
      color = entry.color;
      return true;
    }
  }
  return false;
}

}  // namespace

SpriteFile::SpriteFile(std::istream& file_input) : input(file_input) {}

std::unique_ptr<Sprite> SpriteFile::read() {
  if (!readHeader()) {
    return nullptr;
  }
  std::unique_ptr<Sprite> sprite = readBody();
  if (sprite == nullptr || !readFooter()) {
    return nullptr;
  }
  return sprite;
}

// Header.

bool SpriteFile::readHeader() {
  std::vector<std::string> header;
  if (!readData("HEADER", header) || !readSize(header)) {
    return false;
  }
  readLook(header);
  reportUnused("HEADER", header);
  logHeader();
  return true;
}

bool SpriteFile::readSize(std::vector<std::string>& header) {
  LogManager& log = LogManager::getInstance();
  struct Required {
    const char* key;
    int& value;
    int line;
  };
  Required required[] = {{"frames", frames, 0}, {"width", width, 0}, {"height", height, 0}};
  // Header lines start on file line 2, right after "<HEADER>"; taking a key removes its lines.
  for (Required& entry : required) {
    entry.line = lastLineWithKey(header, entry.key) + 2;
  }
  for (Required& entry : required) {
    entry.value = matchLineInt(header, entry.key);
  }
  for (const Required& entry : required) {
    if (entry.value == -1) {
      log.writeLog("RM::loadSprite(): Error! Missing '%s' in header.", entry.key);
      return false;
    }
  }
  const Required* const negative =
      std::find_if(std::begin(required), std::end(required),
                   [](const Required& entry) { return entry.value < 0; });
  if (negative == std::end(required)) return true;
  log.writeLog("RM::loadSprite(): Error! Line %d: '%s' is %d; it cannot be negative.",
               negative->line, negative->key, negative->value);
  return false;
}

void SpriteFile::readLook(std::vector<std::string>& header) {
  LogManager& log = LogManager::getInstance();
  const char* absent = "RM::loadSprite(): Warning! No '%s' in header.";
  color_name = matchLineStr(header, "color");
  if (color_name.empty()) {
    log.writeLog(5, absent, "color");
    color_name = "default";
  }
  const std::string transparency_text = matchLineStr(header, "transparency");
  if (transparency_text.empty()) {
    log.writeLog(5, absent, "transparency");
  } else {
    transparency = transparency_text[0];
  }
  slowdown = matchLineInt(header, "slowdown");
  if (slowdown == -1) {
    log.writeLog(5, absent, "slowdown");
    slowdown = 0;
  }
}

void SpriteFile::logHeader() const {
  LogManager& log = LogManager::getInstance();
  log.writeLog(5, "\t      Frames: %d", frames);
  log.writeLog(5, "\t       Width: %d", width);
  log.writeLog(5, "\t      Height: %d", height);
  log.writeLog(5, "\t    Slowdown: %d", slowdown);
  if (transparency != 0) {
    log.writeLog(5, "\tTransparency: %c", transparency);
  } else {
    log.writeLog(5, "\tTransparency: (none)");
  }
  log.writeLog(5, "\t       Color: %s", printable(color_name).c_str());
}

// Body.

std::unique_ptr<Sprite> SpriteFile::readBody() {
  std::vector<std::string> body;
  if (!readData("BODY", body)) {
    return nullptr;
  }
  std::unique_ptr<Sprite> sprite = makeSprite(body.size());
  if (sprite == nullptr || !readFrames(body, *sprite)) {
    return nullptr;
  }
  return sprite;
}

std::unique_ptr<Sprite> SpriteFile::makeSprite(std::size_t body_lines) const {
  LogManager& log = LogManager::getInstance();
  // A frame takes height + 1 body lines, so the body bounds how many frames can be read; a
  // header claiming more than that must not make the sprite reserve room for them.
  const long long fitting =
      static_cast<long long>(body_lines) / (static_cast<long long>(height) + 1);
  std::unique_ptr<Sprite> sprite;
  try {
    sprite = std::make_unique<Sprite>(static_cast<int>(std::min<long long>(frames, fitting)));
  } catch (const std::bad_alloc&) {
    log.writeLog("RM::loadSprite(): Error! Unable to create Sprite.");
    return nullptr;
  }
  sprite->setWidth(width);
  sprite->setHeight(height);
  sprite->setSlowdown(slowdown);
  sprite->setTransparency(transparency);
  Color color = COLOR_DEFAULT;
  if (!colorFromName(color_name, color)) {
    log.writeLog("RM::loadSprite(): Error! Unrecognized color '%s'.",
                 printable(color_name).c_str());
    log.writeLog("  Valid colors are: black, red, green, yellow,");
    log.writeLog("                    blue, magenta, cyan and white.");
    return nullptr;
  }
  sprite->setColor(color);
  return sprite;
}

bool SpriteFile::readFrames(const std::vector<std::string>& body, Sprite& sprite) {
  LogManager& log = LogManager::getInstance();
  // The body's tags were counted by readData; step back so each row's count is its file line.
  line_number--;
  std::size_t next = 0;
  for (int i = 0; i < frames; i++) {
    const std::optional<Frame> frame = readFrame(body, next);
    if (!frame) {
      log.writeLog("RM::loadSprite(): Error! No frame data to add.");
      return false;
    }
    if (sprite.addFrame(*frame) != 0) {
      log.writeLog("RM::loadSprite(): Error! Cannot add Frame.");
      log.writeLog("\tFramecount is %d, max is %d", sprite.getFrameCount() + 1, frames);
      return false;
    }
  }
  line_number++;
  if (next < body.size()) {
    reportExtraBody(body, next);
    return false;
  }
  return true;
}

std::optional<Frame> SpriteFile::readFrame(const std::vector<std::string>& body,
                                           std::size_t& next) {
  if (next == body.size()) {
    LogManager::getInstance().writeLog("\tError! Line %d: No more frame data.", line_number + 1);
    return std::nullopt;
  }
  std::string text;
  // A frame of no rows holds no characters: there is nothing to add.
  if (!readRows(body, next, text) || !readEnd(body, next) || text.empty()) {
    return std::nullopt;
  }
  return Frame(width, height, text);
}

bool SpriteFile::readRows(const std::vector<std::string>& body, std::size_t& next,
                          std::string& text) {
  LogManager& log = LogManager::getInstance();
  for (int row = 0; row < height; row++) {
    if (next == body.size()) {
      // The body ran out inside the frame: nothing past the body is read.
      log.writeLog("\tError! Line %d: Body ends after row %d of a %d-row frame.", line_number + 1,
                   row, height);
      return false;
    }
    const std::string& line = body[next];
    line_number++;
    if (line.size() != static_cast<std::size_t>(width)) {
      log.writeLog("\tError! Line %d: Line length is %zu (frame width is %d).", line_number,
                   line.size(), width);
      log.writeLog("\tLine %d: '%s'", line_number, printable(line).c_str());
      return false;
    }
    text += line;
    next++;
  }
  return true;
}

bool SpriteFile::readEnd(const std::vector<std::string>& body, std::size_t& next) {
  LogManager& log = LogManager::getInstance();
  if (next == body.size()) {
    log.writeLog("\tError! Line %d: Body ends before '%s'.", line_number + 1, "end");
    return false;
  }
  line_number++;
  if (body[next] != "end") {
    log.writeLog("\tError! Line %d: Expected '%s'.", line_number, "end");
    log.writeLog("\tLine %d: '%s'", line_number, printable(body[next]).c_str());
    return false;
  }
  next++;
  return true;
}

void SpriteFile::reportExtraBody(const std::vector<std::string>& body, std::size_t next) {
  LogManager& log = LogManager::getInstance();
  log.writeLog("RM::loadSprite(): Error! Extra BODY:");
  for (; next < body.size(); next++) {
    log.writeLog("\tline %d: %s", line_number, printable(body[next]).c_str());
    line_number++;
  }
}

// Footer.

bool SpriteFile::readFooter() {
  std::vector<std::string> footer;
  if (!readData("FOOTER", footer)) {
    return false;
  }
  if (matchLineStr(footer, "version").empty()) {
    LogManager::getInstance().writeLog("RM::loadSprite(): Error! Missing '%s' in FOOTER (line %d).",
                                       "version", line_number);
    return false;
  }
  reportUnused("FOOTER", footer);
  return true;
}

// Lines and sections.

std::string SpriteFile::getLine() {
  LogManager& log = LogManager::getInstance();
  std::string line;
  char c = 0;
  while (input.get(c)) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      return line;
    }
    if (line.size() == MAX_SPRITE_LINE) {
      log.writeLog("getLine(): Error! Line longer than %zu characters.", MAX_SPRITE_LINE);
      input.setstate(std::ios::failbit);
      return "";
    }
    line.push_back(c);
  }
  log.writeLog("getLine(): Error! Unexpected end of file.");
  if (line.find('\r') != std::string::npos) {
    log.writeLog("getLine(): Error! Lines end in carriage returns without line feeds.");
  }
  return "";
}

bool SpriteFile::readData(const std::string& tag, std::vector<std::string>& lines) {
  LogManager& log = LogManager::getInstance();
  const std::string begin = "<" + tag + ">";
  const std::string end = "</" + tag + ">";
  lines.clear();
  std::string line = getLine();
  line_number++;
  if (line != begin) {
    log.writeLog("readData(): Error line %d! Expected '%s', have '%s'.", line_number, begin.c_str(),
                 printable(line).c_str());
    return false;
  }
  for (line = getLine(); line != end; line = getLine()) {
    if (line.empty()) {
      log.writeLog("readData(): Error! Never encountered '%s'.", end.c_str());
      lines.clear();
      return false;
    }
    lines.push_back(line);
  }
  line_number++;
  if (lines.empty()) {
    log.writeLog("readData(): Error line %d! Nothing between '%s' and '%s'.", line_number,
                 begin.c_str(), end.c_str());
    return false;
  }
  return true;
}

std::vector<std::string> SpriteFile::takeLines(std::vector<std::string>& lines,
                                               const std::string& key) {
  std::vector<std::string> taken;
  const auto first_taken =
      std::stable_partition(lines.begin(), lines.end(),
                            [&key](const std::string& line) { return !startsWith(line, key); });
  taken.assign(first_taken, lines.end());
  lines.erase(first_taken, lines.end());
  line_number += static_cast<int>(taken.size());
  return taken;
}

int SpriteFile::matchLineInt(std::vector<std::string>& lines, const std::string& key) {
  int value = -1;
  for (const std::string& line : takeLines(lines, key)) {
    if (value != -1) {
      LogManager::getInstance().writeLog(1, "matchLineInt(): Warning! '%s' matches multiple lines.",
                                         printable(line).c_str());
    }
    value = readInt(valueAfterKey(line, key));
  }
  return value;
}

std::string SpriteFile::matchLineStr(std::vector<std::string>& lines, const std::string& key) {
  std::string value;
  for (const std::string& line : takeLines(lines, key)) {
    if (!value.empty()) {
      LogManager::getInstance().writeLog(1, "matchLineStr(): Warning! '%s' matches multiple lines.",
                                         printable(line).c_str());
    }
    value = valueAfterKey(line, key);
  }
  return value;
}

void SpriteFile::reportUnused(const char* section, const std::vector<std::string>& lines) {
  if (lines.empty()) {
    return;
  }
  LogManager& log = LogManager::getInstance();
  log.writeLog(1, "RM::loadSprite(): Warning! Unused %s lines:", section);
  for (const std::string& line : lines) {
    log.writeLog(1, "\t'%s'", printable(line).c_str());
  }
  line_number += static_cast<int>(lines.size());
}

}  // namespace tx
