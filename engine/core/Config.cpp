#include "tolvex/core/Config.h"

#include <climits>
#include <cstdlib>
#include <fstream>

#include "tolvex/core/LogManager.h"
#include "tolvex/core/utility.h"

namespace tx {

namespace {

const char* const COLOR_NAMES[] = {"black", "red",     "green", "yellow",
                                   "blue",  "magenta", "cyan",  "white"};

const char* boolText(bool value) { return value ? "true" : "false"; }

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

std::string Config::readConfig() const {
  const char* from_environment = std::getenv("TOLVEX_CONFIG");
  const std::string file_name = from_environment != nullptr ? from_environment : "tx-config.txt";
  std::ifstream in(file_name);
  if (!in.is_open()) {
    LogManager::getInstance().writeLog(
        1, "Config::readConfig(): Cannot open Tolvex configuration file '%s'.", file_name.c_str());
    return std::string();
  }
  std::string text;
  std::string line;
  while (in.good()) {
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // Only a "#" in the very first column makes a comment.
    if (line.empty() || line[0] == '#') continue;
    text += line;
  }
  return text;
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
};

const ConfigReader::Setting ConfigReader::SETTINGS[] = {
    {"frame_time", integer<&Config::frame_time>},
    {"font_scale", decimal<&Config::font_scale>},
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
