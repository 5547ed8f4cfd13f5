#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tolvex/core/Manager.h"
#include "tolvex/core/Music.h"
#include "tolvex/core/Sound.h"
#include "tolvex/display/Sprite.h"

namespace tx {

// Most sprites, sounds and music pieces the resource manager holds.
constexpr int MAX_SPRITES = 1000;
constexpr int MAX_SOUNDS = 100;
constexpr int MAX_MUSICS = 50;

// Loads sprites, sounds and music once and hands them out by label. It owns everything it loads
// until shut-down: callers keep the pointers it returns but never delete them.
class ResourceManager : public Manager {
 public:
  // The process-wide resource manager.
  static ResourceManager& getInstance();
  ResourceManager(const ResourceManager&) = delete;
  ResourceManager& operator=(const ResourceManager&) = delete;
  ~ResourceManager() override;

  // Sets the counts to 0. Always returns 0.
  int startUp() override;
  // Deletes every sprite and stops every sound and music piece.
  void shutDown() override;

  // Reads a sprite file and keeps the sprite under label. 0 on success; -1 leaves the manager
  // as it was (nothing stored, nothing leaked, the file closed).
  int loadSprite(std::string filename, std::string label);
  // Decodes a sound file into the next free sound. 0 or -1 (the slot stays free).
  int loadSound(std::string filename, std::string label);
  // Opens a music file for streaming into the next free piece; the label must not be empty.
  int loadMusic(std::string filename, std::string label);

  // The first sprite, sound or music loaded under label, or null after a warning. Valid until
  // shut-down; works whether or not the manager is started.
  Sprite* getSprite(std::string label) const;
  Sound* getSound(std::string label);
  Music* getMusic(std::string label);

  // How many sprites, sounds and music pieces are loaded.
  int getSpriteCount() const { return static_cast<int>(sprites.size()); }
  int getSoundCount() const { return sound_count; }
  int getMusicCount() const { return music_count; }

 private:
  ResourceManager();

  // Loaded sprites in load order, at most MAX_SPRITES.
  std::vector<std::unique_ptr<Sprite>> sprites;
  Sound sounds[MAX_SOUNDS];
  int sound_count = 0;
  Music music[MAX_MUSICS];
  int music_count = 0;
};

}  // namespace tx
