#include "display/ResourceManager.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>
#include <vector>

#include "core/LogManager.h"
#include "core/utility.h"

namespace tx {

namespace {

// Longest line the sprite loader reads; anything longer is junk, not a sprite row.
constexpr std::size_t MAX_SPRITE_LINE = 65536;
// Longest piece of a file line quoted in a log line.
constexpr std::size_t MAX_QUOTED = 200;

// Numbers the file lines named in the sprite loader's messages. Reset when a file is opened.
int line_number = 0;

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

// One line without its line feed (and without one trailing carriage return). A line that ends at
// the end of the file, or cannot be read, gives an empty string.
std::string getLine(std::ifstream& file) {
  LogManager& log = LogManager::getInstance();
  std::string line;
  char c = 0;
  while (file.get(c)) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      return line;
    }
    if (line.size() == MAX_SPRITE_LINE) {
      log.writeLog("getLine(): Error! Line longer than %zu characters.", MAX_SPRITE_LINE);
      file.setstate(std::ios::failbit);
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

// Reads one section "<tag>" ... "</tag>" into lines, without the tags. False (lines empty) when
// the opening tag is not the next line, the closing tag never comes, or the section is empty.
bool readData(std::ifstream& file, const std::string& tag, std::vector<std::string>& lines) {
  LogManager& log = LogManager::getInstance();
  const std::string begin = "<" + tag + ">";
  const std::string end = "</" + tag + ">";
  lines.clear();

  std::string line = getLine(file);
  line_number++;
  if (line != begin) {
    log.writeLog("readData(): Error line %d! Expected '%s', have '%s'.", line_number, begin.c_str(),
                 printable(line).c_str());
    return false;
  }
  while (true) {
    line = getLine(file);
    if (line == end) {
      line_number++;
      break;
    }
    if (line.empty()) {
      log.writeLog("readData(): Error! Never encountered '%s'.", end.c_str());
      lines.clear();
      return false;
    }
    lines.push_back(line);
  }
  if (lines.empty()) {
    log.writeLog("readData(): Error line %d! Nothing between '%s' and '%s'.", line_number,
                 begin.c_str(), end.c_str());
    return false;
  }
  return true;
}

// The text after the key and its one separator character; a line holding the key alone has an
// empty value.
std::string valueAfterKey(const std::string& line, const std::string& key) {
  return line.size() > key.size() ? line.substr(key.size() + 1) : std::string();
}

bool startsWith(const std::string& line, const std::string& key) {
  return line.compare(0, key.size(), key) == 0;
}

// Takes every line that begins with key out of lines; the last one's value wins. -1 when none.
int matchLineInt(std::vector<std::string>& lines, const std::string& key) {
  int value = -1;
  for (auto it = lines.begin(); it != lines.end();) {
    if (!startsWith(*it, key)) {
      ++it;
      continue;
    }
    if (value != -1) {
      LogManager::getInstance().writeLog(1, "matchLineInt(): Warning! '%s' matches multiple lines.",
                                         printable(*it).c_str());
    }
    value = readInt(valueAfterKey(*it, key));
    it = lines.erase(it);
    line_number++;
  }
  return value;
}

// As matchLineInt for text values; empty when no line matched.
std::string matchLineStr(std::vector<std::string>& lines, const std::string& key) {
  std::string value;
  for (auto it = lines.begin(); it != lines.end();) {
    if (!startsWith(*it, key)) {
      ++it;
      continue;
    }
    if (!value.empty()) {
      LogManager::getInstance().writeLog(1, "matchLineStr(): Warning! '%s' matches multiple lines.",
                                         printable(*it).c_str());
    }
    value = valueAfterKey(*it, key);
    it = lines.erase(it);
    line_number++;
  }
  return value;
}

// Takes one frame (height rows of width characters, then "end") from the front of the body's
// lines. False, with the rows left in place, when the lines do not hold such a frame.
bool readFrame(std::vector<std::string>& lines, std::size_t& next, int width, int height,
               Frame& frame) {
  LogManager& log = LogManager::getInstance();
  if (next == lines.size()) {
    log.writeLog("\tError! Line %d: No more frame data.", line_number + 1);
    return false;
  }
  const std::size_t first = next;
  std::string text;
  for (int row = 0; row < height; row++) {
    if (next == lines.size()) {
      // The body ran out inside the frame: nothing past the body is read.
      log.writeLog("\tError! Line %d: Body ends after row %d of a %d-row frame.", line_number + 1,
                   row, height);
      next = first;
      return false;
    }
    const std::string& line = lines[next];
    line_number++;
    if (line.size() != static_cast<std::size_t>(width)) {
      log.writeLog("\tError! Line %d: Line length is %zu (frame width is %d).", line_number,
                   line.size(), width);
      log.writeLog("\tLine %d: '%s'", line_number, printable(line).c_str());
      next = first;
      return false;
    }
    text += line;
    next++;
  }
  if (next == lines.size()) {
    log.writeLog("\tError! Line %d: Body ends before '%s'.", line_number + 1, "end");
    next = first;
    return false;
  }
  line_number++;
  if (lines[next] != "end") {
    log.writeLog("\tError! Line %d: Expected '%s'.", line_number, "end");
    log.writeLog("\tLine %d: '%s'", line_number, printable(lines[next]).c_str());
    next = first;
    return false;
  }
  next++;
  frame = Frame(width, height, text);
  return !text.empty();
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

}  // namespace

ResourceManager::ResourceManager() { setType("ResourceManager"); }

ResourceManager::~ResourceManager() {
  for (int i = 0; i < sprite_count; i++) {
    delete sprites[i];
    sprites[i] = nullptr;
  }
}

ResourceManager& ResourceManager::getInstance() {
  static ResourceManager instance;
  return instance;
}

int ResourceManager::startUp() {
  LogManager& log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("RM::startUp(): Already started.");
    return 0;
  }
  sprite_count = 0;
  sound_count = 0;
  music_count = 0;
  Manager::startUp();
  log.writeLog(5, "RM::startUp(): successfully started.");
  return 0;
}

void ResourceManager::shutDown() {
  for (int i = 0; i < sprite_count; i++) {
    delete sprites[i];
    sprites[i] = nullptr;
  }
  sprite_count = 0;
  for (int i = 0; i < sound_count; i++) {
    sounds[i].stop();
  }
  for (int i = 0; i < music_count; i++) {
    music[i].stop();
  }
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "RM::shutDown(): successfully stopped.");
}

int ResourceManager::loadSprite(std::string filename, std::string label) {
  LogManager& log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("%s not started!", "ResourceManager");
    return -1;
  }

  Sprite* sprite = nullptr;
  std::ifstream file;
  // Every refusal after the checks above releases what was made and names the sprite.
  auto notLoaded = [&]() {
    delete sprite;
    if (file.is_open()) {
      file.close();
    }
    log.writeLog("RM::loadSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  };

  if (sprite_count == MAX_SPRITES) {
    log.writeLog("RM::loadSprite(): Error! Cannot add more Sprites (max is %d).", MAX_SPRITES);
    return notLoaded();
  }

  log.writeLog("RM::loadSprite(): Loading sprite '%s'.", filename.c_str());
  // Directories, devices and pipes are no sprite files; a pipe would block the open.
  std::error_code error;
  if (std::filesystem::is_regular_file(filename, error)) {
    file.open(filename);
  }
  if (!file.is_open()) {
    log.writeLog("RM::loadSprite(): Error! Cannot open file '%s'.", filename.c_str());
    return notLoaded();
  }
  log.writeLog(1, "RM::loadSprite(): Opened file '%s'.", filename.c_str());
  line_number = 0;

  std::vector<std::string> header;
  if (!readData(file, "HEADER", header)) {
    return notLoaded();
  }

  // Header lines start on file line 2, right after "<HEADER>".
  const int frames_line = lastLineWithKey(header, "frames") + 2;
  const int width_line = lastLineWithKey(header, "width") + 2;
  const int height_line = lastLineWithKey(header, "height") + 2;
  const int frames = matchLineInt(header, "frames");
  const int width = matchLineInt(header, "width");
  const int height = matchLineInt(header, "height");
  const struct {
    const char* key;
    int value;
    int line;
  } required[] = {{"frames", frames, frames_line},
                  {"width", width, width_line},
                  {"height", height, height_line}};
  for (const auto& entry : required) {
    if (entry.value == -1) {
      log.writeLog("RM::loadSprite(): Error! Missing '%s' in header.", entry.key);
      return notLoaded();
    }
  }
  for (const auto& entry : required) {
    if (entry.value < 0) {
      log.writeLog("RM::loadSprite(): Error! Line %d: '%s' is %d; it cannot be negative.",
                   entry.line, entry.key, entry.value);
      return notLoaded();
    }
  }

  std::string color_name = matchLineStr(header, "color");
  if (color_name.empty()) {
    log.writeLog(5, "RM::loadSprite(): Warning! No '%s' in header.", "color");
    color_name = "default";
  }
  const std::string transparency_text = matchLineStr(header, "transparency");
  char transparency = 0;
  if (transparency_text.empty()) {
    log.writeLog(5, "RM::loadSprite(): Warning! No '%s' in header.", "transparency");
  } else {
    transparency = transparency_text[0];
  }
  int slowdown = matchLineInt(header, "slowdown");
  if (slowdown == -1) {
    log.writeLog(5, "RM::loadSprite(): Warning! No '%s' in header.", "slowdown");
    slowdown = 0;
  }

  if (!header.empty()) {
    log.writeLog(1, "RM::loadSprite(): Warning! Unused HEADER lines:");
    for (const std::string& line : header) {
      log.writeLog(1, "\t'%s'", printable(line).c_str());
    }
    line_number += static_cast<int>(header.size());
  }

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

  std::vector<std::string> body;
  if (!readData(file, "BODY", body)) {
    return notLoaded();
  }

  // A frame takes height + 1 body lines, so the body bounds how many frames can be read; a
  // header claiming more than that must not make the sprite reserve room for them.
  const long long fitting =
      static_cast<long long>(body.size()) / (static_cast<long long>(height) + 1);
  const int capacity = static_cast<int>(std::min<long long>(frames, fitting));
  try {
    sprite = new Sprite(capacity);
  } catch (const std::bad_alloc&) {
    sprite = nullptr;
  }
  if (sprite == nullptr) {
    log.writeLog("RM::loadSprite(): Error! Unable to create Sprite.");
    return notLoaded();
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
    return notLoaded();
  }
  sprite->setColor(color);

  // The body's tags were counted by readData; step back so each row's count is its file line.
  line_number--;
  std::size_t next = 0;
  for (int i = 0; i < frames; i++) {
    Frame frame;
    if (!readFrame(body, next, width, height, frame)) {
      log.writeLog("RM::loadSprite(): Error! No frame data to add.");
      return notLoaded();
    }
    if (sprite->addFrame(frame) != 0) {
      log.writeLog("RM::loadSprite(): Error! Cannot add Frame.");
      log.writeLog("\tFramecount is %d, max is %d", sprite->getFrameCount() + 1, frames);
      return notLoaded();
    }
  }

  line_number++;
  if (next < body.size()) {
    log.writeLog("RM::loadSprite(): Error! Extra BODY:");
    for (; next < body.size(); next++) {
      log.writeLog("\tline %d: %s", line_number, printable(body[next]).c_str());
      line_number++;
    }
    return notLoaded();
  }

  std::vector<std::string> footer;
  if (!readData(file, "FOOTER", footer)) {
    return notLoaded();
  }
  const std::string version = matchLineStr(footer, "version");
  if (version.empty()) {
    log.writeLog("RM::loadSprite(): Error! Missing '%s' in FOOTER (line %d).", "version",
                 line_number);
    return notLoaded();
  }
  if (!footer.empty()) {
    log.writeLog(1, "RM::loadSprite(): Warning! Unused FOOTER lines:");
    for (const std::string& line : footer) {
      log.writeLog(1, "\t'%s'", printable(line).c_str());
    }
  }
  file.close();

  sprite->setLabel(label);
  sprites[sprite_count] = sprite;
  sprite_count++;

  log.writeLog(15, "Sprite '%s' frames:", label.c_str());
  for (int n = 0; n < sprite->getFrameCount(); n++) {
    log.writeLog(15, "Frame %d:", n + 1);
    const Frame frame = sprite->getFrame(n);
    const std::string text = frame.getString();
    for (int row = 0; row < frame.getHeight(); row++) {
      log.writeLog(15, "\t%s",
                   text.substr(static_cast<std::size_t>(row) * static_cast<std::size_t>(width),
                               static_cast<std::size_t>(width))
                       .c_str());
    }
  }
  log.writeLog("RM::loadSprite(): Sprite '%s' loaded.", label.c_str());
  return 0;
}

int ResourceManager::loadSound(std::string filename, std::string label) {
  LogManager& log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("%s not started!", "ResourceManager");
    return -1;
  }
  if (sound_count == MAX_SOUNDS) {
    log.writeLog("RM::loadSound(): Error! Unable to add more sounds (max is %d).", MAX_SOUNDS);
    return -1;
  }
  if (sounds[sound_count].loadSound(filename) != 0) {
    log.writeLog("RM::loadSound(): Error! Cannot load sound from file '%s'.", filename.c_str());
    return -1;
  }
  sounds[sound_count].setLabel(label);
  log.writeLog(1, "RM::loadSound(): Sound '%s' successfully loaded.", label.c_str());
  sound_count++;
  return 0;
}

int ResourceManager::loadMusic(std::string filename, std::string label) {
  LogManager& log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("%s not started!", "ResourceManager");
    return -1;
  }
  if (music_count == MAX_MUSICS) {
    log.writeLog("RM::loadMusic(): Error! Unable to add more musics (max is %d).", MAX_MUSICS);
    return -1;
  }
  if (label.empty()) {
    log.writeLog("RM::loadMusic(): Error! Must provide label for music.");
    return -1;
  }
  if (music[music_count].loadMusic(filename) != 0) {
    log.writeLog("RM::loadmusic(): Error! Cannot load music from file '%s'.", filename.c_str());
    return -1;
  }
  music[music_count].setLabel(label);
  log.writeLog(1, "RM::loadMusic(): Music '%s' successfully loaded.", label.c_str());
  music_count++;
  return 0;
}

Sprite* ResourceManager::getSprite(std::string label) const {
  LogManager& log = LogManager::getInstance();
  log.writeLog(5, "RM::getSprite(): Looking for sprite '%s'.", label.c_str());
  for (int i = 0; i < sprite_count; i++) {
    if (sprites[i]->getLabel() == label) {
      return sprites[i];
    }
  }
  log.writeLog("RM::getSprite(): Warning! Sprite '%s' not found.", label.c_str());
  return nullptr;
}

Sound* ResourceManager::getSound(std::string label) {
  LogManager& log = LogManager::getInstance();
  log.writeLog(5, "RM::getSound(): Looking for sound '%s'.", label.c_str());
  for (int i = 0; i < sound_count; i++) {
    if (sounds[i].getLabel() == label) {
      return &sounds[i];
    }
  }
  log.writeLog("RM::getSound(): Warning! Sound '%s' not found.", label.c_str());
  return nullptr;
}

Music* ResourceManager::getMusic(std::string label) {
  LogManager& log = LogManager::getInstance();
  log.writeLog(5, "RM::getMusic(): Looking for music '%s'.", label.c_str());
  for (int i = 0; i < music_count; i++) {
    if (music[i].getLabel() == label) {
      return &music[i];
    }
  }
  log.writeLog("RM::getMusic(): Warning! Music '%s' not found.", label.c_str());
  return nullptr;
}

}  // namespace tx
