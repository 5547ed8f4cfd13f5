#pragma once

#include <memory>
#include <string>

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

namespace tx {

// A short sample held fully in memory, found by label. The resource manager keeps every loaded
// sound for the life of the program; do not delete one it hands out.
class Sound {
 public:
  Sound();
  ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // Decodes the whole file. 0 on success; -1 leaves the sound without a buffer.
  int loadSound(std::string filename);

  // The name the resource manager finds the sound by.
  void setLabel(std::string new_label) { label = std::move(new_label); }
  std::string getLabel() const { return label; }

  // Starts playing from the beginning, then sets looping for this and later playbacks.
  void play(bool loop = false);
  // Stops playing; the next play() starts from the beginning.
  void stop();

  // The underlying voice, for volume and other settings; null until a file is loaded.
  sf::Sound* getSound() { return sound.get(); }

 private:
  // Made only when a file loads: every voice holds an audio-device source, and the resource
  // manager keeps a hundred sound places whether they are used or not.
  std::unique_ptr<sf::SoundBuffer> sound_buffer;
  std::unique_ptr<sf::Sound> sound;
  std::string label = "[Undefined]";
};

}  // namespace tx
