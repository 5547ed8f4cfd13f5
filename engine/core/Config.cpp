#include "core/Config.h"

#include <climits>
#include <cstdlib>
#include <fstream>

#include "core/LogManager.h"
#include "core/utility.h"

namespace tx {

namespace {

const char* const COLOR_NAMES[] = {"black", "red",     "green", "yellow",
                                   "blue",  "magenta", "cyan",  "white"};

const char* boolText(bool value) { return value ? "true" : "false"; }

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

void Config::loadConfig(std::string text) {
  if (text.empty()) text = readConfig();
  config_text = text;
  // Without a text there is nothing to parse, and the lookups below would read whatever the
  // last caller of match() left behind.
  if (text.empty()) return;
  // Parse once; every lookup below reads the kept entries.
  match(text, "");

  auto setInt = [](const char* key, int& field) {
    const std::string value = match("", key);
    if (!value.empty()) field = readInt(value);
  };
  auto setFloat = [](const char* key, float& field) {
    const std::string value = match("", key);
    if (!value.empty()) field = readFloat(value);
  };
  auto setBool = [](const char* key, bool& field) {
    const std::string value = match("", key);
    if (!value.empty()) field = value == "true";
  };
  auto setString = [](const char* key, std::string& field) {
    const std::string value = match("", key);
    if (!value.empty()) field = value;
  };

  setInt("frame_time", frame_time);
  setFloat("font_scale", font_scale);
  setInt("window_horizontal_pixels", window_horizontal_pixels);
  setInt("window_vertical_pixels", window_vertical_pixels);
  setInt("window_horizontal_chars", window_horizontal_chars);
  setInt("window_vertical_chars", window_vertical_chars);

  const std::string color = match("", "window_background_color");
  if (!color.empty()) {
    bool known = false;
    for (int i = BLACK; i <= WHITE; ++i) {
      if (color == COLOR_NAMES[i]) {
        window_background_color = static_cast<Color>(i);
        known = true;
      }
    }
    if (!known)
      LogManager::getInstance().writeLog("loadConfig(): Unsupported window color '%s'",
                                         color.c_str());
  }

  const std::string style = match("", "window_style");
  if (style == "fullscreen")
    window_style = WINDOW_STYLE_FULLSCREEN;
  else if (style == "default")
    window_style = WINDOW_STYLE_DEFAULT;
  else if (!style.empty())
    LogManager::getInstance().writeLog("loadConfig(): Unsupported window style '%s'",
                                       style.c_str());

  setString("window_title", window_title);
  setBool("show_mouse", show_mouse);
  setBool("headless", headless);
  setString("font_file", font_file);
  setString("logfile", logfile);
  setInt("random_seed", random_seed);
  setBool("networking", networking);
  setInt("max_outgoing_bytes", max_outgoing_bytes);
  setInt("stall_timeout", stall_timeout);
  setInt("grid_width", grid_width);
  setInt("grid_height", grid_height);
  setInt("quadtree_depth", quadtree_depth);
  setInt("quadtree_threshold", quadtree_threshold);
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
  log.writeLog(1, "  Log file: %s", logfile.c_str());
  log.writeLog(1, "  Random seed: %d", random_seed);
  log.writeLog(1, "  Networking: %s", boolText(networking));
  log.writeLog(1, "  Max outgoing bytes: %d", max_outgoing_bytes);
  log.writeLog(1, "  Stall timeout: %d", stall_timeout);
  log.writeLog(1, "  Scene graph: simple");
  log.writeLog(1, "-----------------------------------");
}

}  // namespace tx
