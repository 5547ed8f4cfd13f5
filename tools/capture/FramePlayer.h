#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tolvex/display/FrameCapture.h"

// Plays captured frames in a terminal with ANSI colours, at the pace they were recorded: a frame
// stays for its steps times the frame time. Keys: space pauses and resumes, the right and left
// arrows step one frame forward and back (and pause), q quits. Playing stops on the last frame,
// which stays until q; without a terminal on standard input the frames play through once.
class FramePlayer {
 public:
  explicit FramePlayer(std::vector<tx::CapturedFrame> captured) : frames(std::move(captured)) {}

  // Plays until q, or to the end without a terminal. Returns the process exit status.
  int play();

  // The frame as ANSI text: cursor home, each row in its colours, then a status line.
  std::string render(std::size_t index, bool paused) const;
  // Milliseconds frame `index` stays before the next: its steps times the frame time, one frame
  // time when the step count starts again (a new run of the game loop).
  int durationOf(std::size_t index) const;

 private:
  enum class Key { NONE, PAUSE, FORWARD, BACK, QUIT };
  // Waits up to milliseconds (forever when negative) for a key.
  static Key readKey(int milliseconds);

  std::vector<tx::CapturedFrame> frames;
};
