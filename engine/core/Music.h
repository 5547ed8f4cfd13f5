#pragma once

#include <memory>
#include <string>

#include <SFML/Audio/Music.hpp>

namespace tx {

// A long piece streamed from its file, found by label. The resource manager keeps every loaded
// piece for the life of the program; do not delete one it hands out.
class Music {
 public:
  Music();
  Music(const Music&) = delete;
  Music& operator=(const Music&) = delete;

  // Opens the file for streaming; the file must stay readable while the music plays. 0 or -1.
  int loadMusic(std::string filename);

  // The name the resource manager finds the piece by.
  void setLabel(std::string new_label) { label = std::move(new_label); }
  std::string getLabel() const { return label; }

  // Starts the stream, then sets looping for this and later playbacks.
  void play(bool loop = true);
  // Stops the stream; the next play() starts from the beginning.
  void stop();

  // The stream itself, for looping, volume and other settings; null until a file is opened.
  // Owned by this object.
  sf::Music* getMusic() { return music.get(); }

 private:
  // Made only when a file opens: every stream holds an audio-device source, and the resource
  // manager keeps fifty music places whether they are used or not.
  std::unique_ptr<sf::Music> music;
  std::string label = "[Undefined]";
};

}  // namespace tx
