#include "core/Sound.h"

#include <filesystem>
#include <new>
#include <system_error>

#include <SFML/Audio/InputSoundFile.hpp>

#include "core/LogManager.h"

namespace tx {

namespace {

// Longest sound decoded into memory: ten minutes of 48 kHz stereo. A file whose header claims
// more is refused rather than allowed to claim gigabytes.
constexpr sf::Uint64 MAX_SOUND_SAMPLES = 10ull * 60ull * 48000ull * 2ull;

}  // namespace

Sound::Sound() = default;

Sound::~Sound() {
  // The voice must let go of the samples before the buffer member is destroyed.
  sound.resetBuffer();
}

int Sound::loadSound(std::string filename) {
  // SFML's decoders can spin forever on a directory or a device; only plain files go to it.
  std::error_code error;
  if (!std::filesystem::is_regular_file(filename, error)) {
    return -1;
  }
  // The header says how many samples the buffer will hold; ask before decoding.
  sf::InputSoundFile probe;
  if (!probe.openFromFile(filename) || probe.getSampleCount() > MAX_SOUND_SAMPLES) {
    return -1;
  }
  try {
    if (!sound_buffer.loadFromFile(filename)) {
      return -1;
    }
  } catch (const std::bad_alloc&) {
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
