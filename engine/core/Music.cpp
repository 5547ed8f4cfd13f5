#include "core/Music.h"

#include "core/LogManager.h"

namespace tx {

Music::Music() = default;

int Music::loadMusic(std::string filename) {
  if (!music.openFromFile(filename)) {
    return -1;
  }
  return 0;
}

void Music::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
  music.play();
  music.setLoop(loop);
}

void Music::stop() {
  LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
  music.stop();
}

}  // namespace tx
