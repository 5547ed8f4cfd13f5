#include "tolvex/core/Config.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tolvex/core/LogManager.h"
#include "tolvex/core/utility.h"

namespace tx {

namespace {

const char* const COLOR_NAMES[] = {"black", "red",     "green", "yellow",
                                   "blue",  "magenta", "cyan",  "white"};

const char* boolText(bool value) { return value ? "true" : "false"; }

// The lines of the file's contents with a trailing carriage return dropped, comment and empty
// lines left out, joined with nothing between them.
std::string joinLines(const std::string& contents) {
  std::string text;
  std::size_t start = 0;
  while (start < contents.size()) {
    std::size_t end = contents.find('\n', start);
    if (end == std::string::npos) end = contents.size();
    std::string line = contents.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // Only a "#" in the very first column makes a comment.
    if (line.empty() || line[0] == '#') continue;
    text += line;
  }
  return text;
}

// The environment variable's value when it is set, else the configured one.
std::string fromEnvironment(const char* name, const std::string& configured) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : configured;
}

}  // namespace

Config& Config::getInstance() {
  static Config config;
  return config;
}

std::string Config::getConfigFile() const {
  const char* from_environment = std::getenv("TOLVEX_CONFIG");
  return from_environment != nullptr ? from_environment : "tx-config.txt";
}

std::string Config::readConfig() const {
  const std::string file_name = getConfigFile();
  const LogManager& log_manager = LogManager::getInstance();
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file_name, error);
  // Reading a FIFO or a device would wait or never end, and a directory reads as nothing.
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    log_manager.writeLog(
        "Config::readConfig(): Warning! '%s' is not a regular file; using the defaults.",
        file_name.c_str());
    return std::string();
  }
  std::ifstream in(file_name, std::ios::binary);
  if (!in.is_open()) {
    log_manager.writeLog(1, "Config::readConfig(): Cannot open Tolvex configuration file '%s'.",
                         file_name.c_str());
    return std::string();
  }
  // One byte past the limit tells a file that is too large, whatever size it claims.
  std::string contents(MAX_CONFIG_BYTES + 1, '\0');
  in.read(&contents[0], static_cast<std::streamsize>(contents.size()));
  contents.resize(static_cast<std::size_t>(in.gcount()));
  if (contents.size() > MAX_CONFIG_BYTES) {
    log_manager.writeLog(
        "Config::readConfig(): Warning! '%s' is larger than %zu bytes; using the defaults.",
        file_name.c_str(), MAX_CONFIG_BYTES);
    return std::string();
  }
  return joinLines(contents);
}

// Each method applies one setting's value, found and not empty, to the configuration.
class ConfigReader {
 public:
  using Read = void (*)(Config& config, const std::string& value);
  struct Setting {
    const char* key;
    Read read;
  };
  // The order in which the keys are applied.
  static const Setting SETTINGS[];

  // The value's leading number (0 when it has none), its text, or true exactly for "true".
  template <int Config::*field>
  static void integer(Config& config, const std::string& value) {
    config.*field = readInt(value);
  }
  template <float Config::*field>
  static void decimal(Config& config, const std::string& value) {
    config.*field = readFloat(value);
  }
  template <std::string Config::*field>
  static void text(Config& config, const std::string& value) {
    config.*field = value;
  }
  template <bool Config::*field>
  static void flag(Config& config, const std::string& value) {
    config.*field = value == "true";
  }
  // Names other than the ones known are reported and leave the setting as it was.
  static void backgroundColor(Config& config, const std::string& value);
  static void windowStyle(Config& config, const std::string& value);
  // A value that is not a number keeps the setting, one above MAX_FRAME_TIME is held to it;
  // both are reported.
  static void frameTime(Config& config, const std::string& value);
  // Anything but a number above 0 and at most MAX_FONT_SCALE is reported and keeps the setting.
  static void fontScale(Config& config, const std::string& value);
};

const ConfigReader::Setting ConfigReader::SETTINGS[] = {
    {"frame_time", frameTime},
    {"font_scale", fontScale},
    {"window_horizontal_pixels", integer<&Config::window_horizontal_pixels>},
    {"window_vertical_pixels", integer<&Config::window_vertical_pixels>},
    {"window_horizontal_chars", integer<&Config::window_horizontal_chars>},
    {"window_vertical_chars", integer<&Config::window_vertical_chars>},
    {"window_background_color", backgroundColor},
    {"window_style", windowStyle},
    {"window_title", text<&Config::window_title>},
    {"show_mouse", flag<&Config::show_mouse>},
    {"headless", flag<&Config::headless>},
    {"font_file", text<&Config::font_file>},
    {"data_dir", text<&Config::data_dir>},
    {"logfile", text<&Config::logfile>},
    {"random_seed", integer<&Config::random_seed>},
    {"networking", flag<&Config::networking>},
    {"max_outgoing_bytes", integer<&Config::max_outgoing_bytes>},
    {"stall_timeout", integer<&Config::stall_timeout>},
    {"record_input", text<&Config::record_input>},
    {"replay_input", text<&Config::replay_input>},
    {"replay_speed", decimal<&Config::replay_speed>},
    {"path_search_steps", integer<&Config::path_search_steps>},
    {"capture_frames", text<&Config::capture_frames>},
    {"capture_every", integer<&Config::capture_every>},
    {"grid_width", integer<&Config::grid_width>},
    {"grid_height", integer<&Config::grid_height>},
    {"quadtree_depth", integer<&Config::quadtree_depth>},
    {"quadtree_threshold", integer<&Config::quadtree_threshold>},
};

void ConfigReader::backgroundColor(Config& config, const std::string& value) {
  for (int i = BLACK; i <= WHITE; ++i) {
    if (value == COLOR_NAMES[i]) {
      config.window_background_color = static_cast<Color>(i);
      return;
    }
  }
  LogManager::getInstance().writeLog("loadConfig(): Unsupported window color '%s'", value.c_str());
}

void ConfigReader::windowStyle(Config& config, const std::string& value) {
  if (value == "fullscreen") {
    config.window_style = WINDOW_STYLE_FULLSCREEN;
  } else if (value == "default") {
    config.window_style = WINDOW_STYLE_DEFAULT;
  } else {
    LogManager::getInstance().writeLog("loadConfig(): Unsupported window style '%s'",
                                       value.c_str());
  }
}

void ConfigReader::frameTime(Config& config, const std::string& value) {
  const LogManager& log_manager = LogManager::getInstance();
  std::size_t used = 0;
  const int frame_time = readInt(value, &used);
  if (used == 0) {
    log_manager.writeLog("loadConfig(): Warning! frame_time '%s' is not a number; keeping %d.",
                         value.c_str(), config.frame_time);
  } else if (frame_time > MAX_FRAME_TIME) {
    // A longer frame would leave the window deaf to its close button for that long.
    log_manager.writeLog("loadConfig(): Warning! frame_time %d above %d; using %d.", frame_time,
                         MAX_FRAME_TIME, MAX_FRAME_TIME);
    config.frame_time = MAX_FRAME_TIME;
  } else {
    config.frame_time = frame_time;
  }
}

void ConfigReader::fontScale(Config& config, const std::string& value) {
  std::size_t used = 0;
  const float font_scale = readFloat(value, &used);
  if (used == 0 || font_scale <= 0.0f || font_scale > MAX_FONT_SCALE) {
    LogManager::getInstance().writeLog(
        "loadConfig(): Warning! font_scale '%s' not above 0 and at most %g; keeping %g.",
        value.c_str(), static_cast<double>(MAX_FONT_SCALE), static_cast<double>(config.font_scale));
    return;
  }
  config.font_scale = font_scale;
}

void Config::loadConfig(std::string text) {
  if (text.empty()) text = readConfig();
  config_text = text;
  // Without a text there is nothing to parse, and the lookups would read whatever the last
  // caller of match() left behind.
  if (text.empty()) return;
  // Parse once; every lookup reads the kept entries.
  match(text, "");
  readKeys(ConfigReader::SETTINGS, *this);
}

std::string Config::getRecordInput() const {
  return fromEnvironment("TOLVEX_RECORD", record_input);
}

std::string Config::getReplayInput() const {
  return fromEnvironment("TOLVEX_REPLAY", replay_input);
}

void Config::printConfig() const {
  const LogManager& log = LogManager::getInstance();
  log.writeLog(1, "-----------------------------------");
  log.writeLog(1, "Tolvex configuration:");
  log.writeLog(1, "  Window horizontal pixels: %d", window_horizontal_pixels);
  log.writeLog(1, "  Window vertical pixels: %d", window_vertical_pixels);
  log.writeLog(1, "  Window horizontal characters: %d", window_horizontal_chars);
  log.writeLog(1, "  Window vertical characters: %d", window_vertical_chars);
  log.writeLog(1, "  Window background color: %d", static_cast<int>(window_background_color));
  log.writeLog(1, "  Frame time: %d", frame_time);
  log.writeLog(1, "  Window style: %s",
               window_style == WINDOW_STYLE_DEFAULT ? "default" : "fullscreen");
  log.writeLog(1, "  Window title: %s", window_title.c_str());
  log.writeLog(1, "  Show mouse: %s", boolText(show_mouse));
  log.writeLog(1, "  Headless: %s", boolText(headless));
  log.writeLog(1, "  Font file: %s", font_file.c_str());
  log.writeLog(1, "  Data directory: %s", data_dir.c_str());
  log.writeLog(1, "  Log file: %s", logfile.c_str());
  log.writeLog(1, "  Random seed: %d", random_seed);
  log.writeLog(1, "  Networking: %s", boolText(networking));
  log.writeLog(1, "  Max outgoing bytes: %d", max_outgoing_bytes);
  log.writeLog(1, "  Stall timeout: %d", stall_timeout);
  log.writeLog(1, "  Record input: %s", getRecordInput().c_str());
  log.writeLog(1, "  Replay input: %s", getReplayInput().c_str());
  log.writeLog(1, "  Replay speed: %g", static_cast<double>(replay_speed));
  log.writeLog(1, "  Path search steps: %d", path_search_steps);
  log.writeLog(1, "  Capture frames: %s", capture_frames.c_str());
  log.writeLog(1, "  Capture every: %d", capture_every);
  log.writeLog(1, "  Scene graph: simple");
  log.writeLog(1, "-----------------------------------");
}

}  // namespace tx
