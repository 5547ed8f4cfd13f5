#include "FuzzEntries.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "NetworkScript.h"
#include "tolvex/core/Config.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/ObjectList.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/core/utility.h"
#include "tolvex/display/InputRecording.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/display/ViewObject.h"
#include "tolvex/network/NetworkManager.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

namespace tx::fuzz {

namespace {

const char* const SPRITE_LABEL = "fuzz-input";
// A small sprite that stays loaded, so animation keys in serialization texts can name it.
const char* const RESIDENT_SPRITE_LABEL = "fuzz-sprite";
const char* const RESIDENT_SPRITE =
    "<HEADER>\nframes 2\nwidth 2\nheight 1\ncolor red\ntransparency #\nslowdown 2\n</HEADER>\n"
    "<BODY>\nab\nend\n#c\nend\n</BODY>\n<FOOTER>\nversion 1\n</FOOTER>\n";

std::string scratch_file;
std::string config_defaults;
int server_port = -1;

std::string text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

bool writeScratch(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
  return static_cast<bool>(out);
}

// The current settings as configuration text, to put them back after each input.
std::string settingsText() {
  static const char* const color_names[] = {"black", "red",     "green", "yellow",
                                            "blue",  "magenta", "cyan",  "white"};
  const Config& c = Config::getInstance();
  const int color = static_cast<int>(c.getWindowBackgroundColor());
  auto flag = [](bool value) { return std::string(value ? "true" : "false"); };
  std::string t;
  t += "frame_time:" + toString(c.getFrameTime()) + ",";
  t += "font_scale:" + toString(c.getFontScale()) + ",";
  t += "window_horizontal_pixels:" + toString(c.getWindowHorizontalPixels()) + ",";
  t += "window_vertical_pixels:" + toString(c.getWindowVerticalPixels()) + ",";
  t += "window_horizontal_chars:" + toString(c.getWindowHorizontalChars()) + ",";
  t += "window_vertical_chars:" + toString(c.getWindowVerticalChars()) + ",";
  if (color >= 0 && color < 8)
    t += std::string("window_background_color:") + color_names[color] + ",";
  t += std::string("window_style:") +
       (c.getWindowStyle() == WINDOW_STYLE_FULLSCREEN ? "fullscreen" : "default") + ",";
  t += "window_title:" + c.getWindowTitle() + ",";
  t += "show_mouse:" + flag(c.getShowMouse()) + ",";
  t += "headless:" + flag(c.getHeadless()) + ",";
  t += "font_file:" + c.getFontFile() + ",";
  t += "logfile:" + c.getLogFile() + ",";
  t += "random_seed:" + toString(c.getRandomSeed()) + ",";
  t += "networking:" + flag(c.getNetworking()) + ",";
  t += "grid_width:" + toString(c.getGridWidth()) + ",";
  t += "grid_height:" + toString(c.getGridHeight()) + ",";
  t += "quadtree_depth:" + toString(c.getQuadtreeDepth()) + ",";
  t += "quadtree_threshold:" + toString(c.getQuadtreeThreshold()) + ",";
  return t;
}

void deleteAllObjects() {
  const ObjectList all = WorldManager::getInstance().getAllObjects(true);
  ObjectListIterator it(&all);
  for (it.first(); !it.isDone(); it.next()) delete it.currentObject();
}

}  // namespace

int startEngine(const std::string& scratch_dir) {
  static int result = 1;
  scratch_file = scratch_dir + "/fuzz-scratch.txt";
  if (result != 1) return result;
  result = -1;
  if (GameManager::getInstance().startUp() != 0) return -1;
  config_defaults = settingsText();
  if (!writeScratch(scratch_file, RESIDENT_SPRITE)) return -1;
  if (ResourceManager::getInstance().loadSprite(scratch_file, RESIDENT_SPRITE_LABEL) != 0)
    return -1;
  NetworkManager& network = NetworkManager::getInstance();
  if (network.startUp() != 0) return -1;
  if (network.setServer(0, "127.0.0.1") != 0) return -1;
  server_port = network.getServerPort();
  result = 0;
  return result;
}

int feedSprite(const std::uint8_t* data, std::size_t size) {
  ResourceManager& resources = ResourceManager::getInstance();
  if (!writeScratch(scratch_file, text(data, size))) return 0;
  if (resources.loadSprite(scratch_file, SPRITE_LABEL) == 0) {
    const Sprite* sprite = resources.getSprite(SPRITE_LABEL);
    if (sprite == nullptr) std::abort();
    // Every frame the loader accepted must be whole.
    for (int i = 0; i < sprite->getFrameCount(); ++i) {
      const Frame frame = sprite->getFrame(i);
      if (frame.getString().size() !=
          static_cast<std::size_t>(frame.getWidth()) * static_cast<std::size_t>(frame.getHeight()))
        std::abort();
    }
  }
  // Back to the resident sprite only.
  resources.shutDown();
  resources.startUp();
  writeScratch(scratch_file, RESIDENT_SPRITE);
  resources.loadSprite(scratch_file, RESIDENT_SPRITE_LABEL);
  return 0;
}

int feedConfig(const std::uint8_t* data, std::size_t size) {
  Config& config = Config::getInstance();
  const char* config_file = std::getenv("TOLVEX_CONFIG");
  if (config_file != nullptr && writeScratch(config_file, text(data, size))) {
    config.loadConfig(config.readConfig());
    config.printConfig();
  }
  // Taken as the already joined text too, which reaches entries a file cannot hold.
  config.loadConfig(text(data, size));
  config.printConfig();
  config.loadConfig(config_defaults);
  return 0;
}

int feedSerialization(const std::uint8_t* data, std::size_t size) {
  const std::string input = text(data, size);
  match(input, "id");
  match("", "type");

  Object* object = new Object;
  object->deserialize(input);
  const std::string written = object->serialize("ALL");
  object->serialize("");
  // Text the engine wrote must read back.
  Object* copy = new Object;
  copy->deserialize(written);
  copy->serialize("");

  ViewObject* view = new ViewObject;
  view->deserialize(input);
  const std::string view_written = view->serialize("ALL");
  ViewObject* view_copy = new ViewObject;
  view_copy->deserialize(view_written);
  // What was restored is drawn, twice so that the animations move on (headless: nothing shows,
  // but every counter and position is worked through).
  for (int i = 0; i < 2; ++i)
    for (Object* restored :
         {object, copy, static_cast<Object*>(view), static_cast<Object*>(view_copy)})
      restored->draw();

  deleteAllObjects();
  return 0;
}

int feedNetwork(const std::uint8_t* data, std::size_t size) {
  NetworkScript script(server_port);
  script.play(data, size);
  return 0;
}

int feedRecording(const std::uint8_t* data, std::size_t size) {
  InputRecording recording;
  if (recording.open(std::make_unique<std::istringstream>(text(data, size))) != 0) return 0;
  while (recording.readEvent()) {
  }
  return 0;
}

}  // namespace tx::fuzz
