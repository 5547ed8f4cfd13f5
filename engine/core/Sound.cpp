#include "tolvex/core/Sound.h"

#include <filesystem>
#include <new>
#include <system_error>

#include <SFML/Audio/InputSoundFile.hpp>

#include "tolvex/core/LogManager.h"

namespace tx {

namespace {

// Longest sound decoded into memory: ten minutes of 48 kHz stereo. A file whose header claims
// more is refused rather than allowed to claim gigabytes.
constexpr sf::Uint64 MAX_SOUND_SAMPLES = 10ull * 60ull * 48000ull * 2ull;

}  // namespace

Sound::Sound() = default;

// The voice is declared after the buffer, so it is destroyed first and lets go of the samples.
Sound::~Sound() = default;

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
    auto new_buffer = std::make_unique<sf::SoundBuffer>();
    if (!new_buffer->loadFromFile(filename)) {
      return -1;
    }
    sound.reset();
    sound_buffer = std::move(new_buffer);
    sound = std::make_unique<sf::Sound>(*sound_buffer);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return 0;
}

void Sound::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Sound::play(): Playing sound.");
  if (!sound) return;
  sound->play();
  sound->setLoop(loop);
}

void Sound::stop() {
  if (sound) sound->stop();
}

}  // namespace tx
