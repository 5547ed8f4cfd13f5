#include "core/Sound.h"

#include <filesystem>
#include <system_error>

#include "core/LogManager.h"

namespace tx {

Sound::Sound() = default;

Sound::~Sound() {
  // The voice must let go of the samples before the buffer member is destroyed.
  sound.resetBuffer();
}

int Sound::loadSound(std::string filename) {
  // SFML's decoders can spin forever on a directory or a device; only plain files go to it.
  std::error_code error;
  if (!std::filesystem::is_regular_file(filename, error) || !sound_buffer.loadFromFile(filename)) {
    return -1;
  }
  sound.setBuffer(sound_buffer);
  return 0;
}

void Sound::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Sound::play(): Playing sound.");
  sound.play();
  sound.setLoop(loop);
}

void Sound::stop() { sound.stop(); }

}  // namespace tx
