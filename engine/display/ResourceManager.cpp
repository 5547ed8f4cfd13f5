#include "tolvex/display/ResourceManager.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "tolvex/core/DataDirectory.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/SpriteFile.h"

namespace tx {

namespace {

// Opens filename for reading when it is a regular file: directories, devices and pipes are no
// sprite files, and a pipe would block the open.
bool openRegularFile(const std::string& filename, std::ifstream& file) {
  std::error_code error;
  if (std::filesystem::is_regular_file(filename, error)) {
    file.open(filename);
  }
  return file.is_open();
}

// Logs every row of every frame of a loaded sprite.
void logFrames(const Sprite& sprite) {
  LogManager& log = LogManager::getInstance();
  log.writeLog(15, "Sprite '%s' frames:", sprite.getLabel().c_str());
  const std::size_t width = static_cast<std::size_t>(sprite.getWidth());
  for (int n = 0; n < sprite.getFrameCount(); n++) {
    log.writeLog(15, "Frame %d:", n + 1);
    const Frame frame = sprite.getFrame(n);
    const std::string text = frame.getString();
    for (int row = 0; row < frame.getHeight(); row++) {
      log.writeLog(15, "\t%s", text.substr(static_cast<std::size_t>(row) * width, width).c_str());
    }
  }
}

// Opens and reads a sprite file; null after the log lines that say why.
std::unique_ptr<Sprite> readSprite(const std::string& filename) {
  LogManager& log = LogManager::getInstance();
  log.writeLog("RM::loadSprite(): Loading sprite '%s'.", filename.c_str());
  std::ifstream file;
  if (!openRegularFile(filename, file)) {
    log.writeLog("RM::loadSprite(): Error! Cannot open file '%s'.", filename.c_str());
    return nullptr;
  }
  log.writeLog(1, "RM::loadSprite(): Opened file '%s'.", filename.c_str());
  return SpriteFile(file).read();
}

}  // namespace

ResourceManager::ResourceManager() { setType("ResourceManager"); }

ResourceManager::~ResourceManager() = default;

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
  sprites.clear();
  sound_count = 0;
  music_count = 0;
  Manager::startUp();
  log.writeLog(5, "RM::startUp(): successfully started.");
  return 0;
}

void ResourceManager::shutDown() {
  sprites.clear();
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
  std::unique_ptr<Sprite> sprite;
  if (getSpriteCount() == MAX_SPRITES) {
    log.writeLog("RM::loadSprite(): Error! Cannot add more Sprites (max is %d).", MAX_SPRITES);
  } else {
    sprite = readSprite(DataDirectory::getInstance().resolve(filename));
  }
  if (sprite == nullptr) {
    log.writeLog("RM::loadSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }
  sprite->setLabel(label);
  sprites.push_back(std::move(sprite));
  logFrames(*sprites.back());
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
  filename = DataDirectory::getInstance().resolve(filename);
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
  filename = DataDirectory::getInstance().resolve(filename);
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
  for (const std::unique_ptr<Sprite>& sprite : sprites) {
    if (sprite->getLabel() == label) {
      return sprite.get();
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
