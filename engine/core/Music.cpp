#include "tolvex/core/Music.h"

#include <filesystem>
#include <system_error>

#include "tolvex/core/LogManager.h"

namespace tx {

Music::Music() = default;

int Music::loadMusic(std::string filename) {
  // SFML's decoders can spin forever on a directory or a device; only plain files go to it.
  std::error_code error;
  if (!std::filesystem::is_regular_file(filename, error)) {
    return -1;
  }
  auto stream = std::make_unique<sf::Music>();
  if (!stream->openFromFile(filename)) {
    return -1;
  }
  music = std::move(stream);
  return 0;
}

void Music::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
  if (!music) return;
  music->play();
  music->setLoop(loop);
}

void Music::stop() {
  LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
  if (music) music->stop();
}

}  // namespace tx
