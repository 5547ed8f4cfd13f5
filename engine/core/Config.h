#pragma once

#include <cstddef>
#include <string>

#include "tolvex/display/Color.h"

namespace tx {

// Window style bit sets accepted by the "window_style" setting.
constexpr int WINDOW_STYLE_DEFAULT = 5;
constexpr int WINDOW_STYLE_FULLSCREEN = 8;
// Defaults of the network manager's cap on bytes kept for sending to one socket, and of the
// milliseconds a message may stay incomplete.
constexpr int DEFAULT_MAX_OUTGOING_BYTES = 4 * 1024 * 1024;
constexpr int DEFAULT_STALL_TIMEOUT = 30000;
// Default of the path search steps per frame while input is recorded or replayed.
constexpr int DEFAULT_PATH_SEARCH_STEPS = 500;
// Largest configuration file read, in bytes; a larger one is refused and the defaults kept.
constexpr std::size_t MAX_CONFIG_BYTES = 1024 * 1024;
// Longest frame time, in milliseconds: the loop reads the window's events once a frame.
constexpr int MAX_FRAME_TIME = 10000;
// Largest font scale: characters a hundred cells high are as large as a window makes sense of.
constexpr float MAX_FONT_SCALE = 100.0f;

// The engine's settings, filled once at start-up from an optional file of comma-terminated
// key:value entries. Every setting has a default, so a missing or empty file gives a working
// engine.
class Config {
 public:
  // The process-wide configuration, holding the defaults until loadConfig() is called.
  static Config& getInstance();
  Config(const Config&) = delete;
  Config& operator=(const Config&) = delete;

  // Applies the settings found in text (or, when text is empty, in the configuration file).
  // Settings absent from the text keep their current values; the first occurrence of a key wins.
  void loadConfig(std::string text);
  // The configuration file: TOLVEX_CONFIG when set, else "tx-config.txt".
  std::string getConfigFile() const;
  // The configuration file with comment and empty lines dropped and the rest joined; empty when
  // the file cannot be opened, and, with one log line, when it is not a regular file (a FIFO, a
  // device, a directory) or holds more than MAX_CONFIG_BYTES.
  std::string readConfig() const;
  // Writes the settings block to the log (levelled, level 1).
  void printConfig() const;

  // The configuration text last loaded.
  std::string getConfigText() const { return config_text; }
  // Window size in pixels.
  int getWindowHorizontalPixels() const { return window_horizontal_pixels; }
  int getWindowVerticalPixels() const { return window_vertical_pixels; }
  // Display size in character cells.
  int getWindowHorizontalChars() const { return window_horizontal_chars; }
  int getWindowVerticalChars() const { return window_vertical_chars; }
  // WINDOW_STYLE_DEFAULT or WINDOW_STYLE_FULLSCREEN.
  int getWindowStyle() const { return window_style; }
  // The colour the window is cleared to.
  Color getWindowBackgroundColor() const { return window_background_color; }
  // Target duration of one game-loop iteration, in milliseconds; at most MAX_FRAME_TIME.
  int getFrameTime() const { return frame_time; }
  // Scale of the character font, and of the default size of shapes; above 0, at most
  // MAX_FONT_SCALE.
  float getFontScale() const { return font_scale; }
  // The window's title.
  std::string getWindowTitle() const { return window_title; }
  // Whether the mouse pointer shows over the window.
  bool getShowMouse() const { return show_mouse; }
  // True to run without a window: no display output, no input.
  bool getHeadless() const { return headless; }
  // The TrueType font characters are drawn with, found in the data directory or where the
  // engine is installed.
  std::string getFontFile() const { return font_file; }
  // "data_dir": the directory sprites, sounds, music and the font are looked up in (relative to
  // the working directory); empty to let DataDirectory find it.
  std::string getDataDir() const { return data_dir; }
  // Log file name used when TOLVEX_LOG is not set.
  std::string getLogFile() const { return logfile; }
  // 0 seeds from the calendar time, -1 leaves the generator unseeded.
  int getRandomSeed() const { return random_seed; }
  // Whether the network manager is started and polled each step.
  bool getNetworking() const { return networking; }
  // "max_outgoing_bytes": bytes the network manager may keep for sending to one socket before it
  // closes the socket (a peer that stops reading); 0 and up.
  int getMaxOutgoingBytes() const { return max_outgoing_bytes; }
  // "stall_timeout": milliseconds a message may take to arrive whole once its first byte has
  // come; a socket whose message takes longer (a peer that trickles or stops part way) is
  // closed. 1 to 1800000 (30 minutes).
  int getStallTimeout() const { return stall_timeout; }
  // File to record the game's input to: TOLVEX_RECORD when set, else "record_input"; empty for
  // none.
  std::string getRecordInput() const;
  // Recording to replay instead of reading the window: TOLVEX_REPLAY when set, else
  // "replay_input"; empty for none.
  std::string getReplayInput() const;
  // "replay_speed": how fast a replay runs against real time; 1 keeps the recorded frame time,
  // 2 halves it, and 0 (or less) never sleeps.
  float getReplaySpeed() const { return replay_speed; }
  // "path_search_steps": search steps the path manager runs per frame while input is recorded
  // or replayed, in place of its time budget (which would make the searches, and the game,
  // depend on the machine's speed).
  int getPathSearchSteps() const { return path_search_steps; }
  // "capture_frames": the file the display writes completed frames to as text; empty for none.
  // TOLVEX_CAPTURE in the environment takes its place.
  std::string getCaptureFrames() const { return capture_frames; }
  // "capture_every": one completed frame in every N is written; values below 1 count as 1.
  int getCaptureEvery() const { return capture_every; }
  // Stored only; nothing in the engine reads these yet.
  int getQuadtreeThreshold() const { return quadtree_threshold; }
  int getQuadtreeDepth() const { return quadtree_depth; }
  // "grid_width", "grid_height": the bucket size of the spatial grid of solid objects, in
  // cells; 0 or less for either turns the grid off (collision queries walk every solid object).
  int getGridWidth() const { return grid_width; }
  int getGridHeight() const { return grid_height; }

 private:
  Config() = default;
  // Applies the entries of the text to the settings for loadConfig, one key at a time.
  friend class ConfigReader;

  std::string config_text;
  int window_horizontal_pixels = 1024;
  int window_vertical_pixels = 768;
  int window_horizontal_chars = 80;
  int window_vertical_chars = 24;
  int window_style = WINDOW_STYLE_DEFAULT;
  Color window_background_color = BLACK;
  int frame_time = 33;
  float font_scale = 2.0f;
  std::string window_title = "Tolvex";
  bool show_mouse = false;
  bool headless = false;
  std::string font_file = "tx-font.ttf";
  std::string data_dir;
  std::string logfile = "tolvex.log";
  int random_seed = 0;
  bool networking = false;
  int max_outgoing_bytes = DEFAULT_MAX_OUTGOING_BYTES;
  int stall_timeout = DEFAULT_STALL_TIMEOUT;
  std::string record_input;
  std::string replay_input;
  float replay_speed = 1.0f;
  int path_search_steps = DEFAULT_PATH_SEARCH_STEPS;
  std::string capture_frames;
  int capture_every = 1;
  int quadtree_threshold = 1;
  int quadtree_depth = 10;
  int grid_width = 20;
  int grid_height = 8;
};

}  // namespace tx
