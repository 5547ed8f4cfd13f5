#pragma once

#include <fstream>
#include <istream>
#include <memory>
#include <optional>
#include <string>

#include "tolvex/display/InputEvent.h"

namespace tx {

// What a recording says about the game it was made in.
struct RecordingHeader {
  // The engine version as the start-up banner prints it ("4.16").
  std::string engine_version;
  // Milliseconds per step.
  int frame_time = 0;
  // Display size in cells.
  int horizontal_cells = 0;
  int vertical_cells = 0;
  // The seed the random generator was given.
  int random_seed = 0;
  // The configuration text as read (comments dropped, lines joined).
  std::string config_text;
};

// An event and the step it was delivered in.
struct RecordedEvent {
  // The step the event was delivered in (see InputRecording).
  int step = 0;
  // What was delivered.
  InputEvent event;
};

// A file of the input a game received, written while it is played and read back to replay it.
//
// The file is text, one item per line, fields separated by one blank (a carriage return before
// the line feed is ignored). It starts with six header lines, in this order:
//
//   tolvex-input-recording 1        the format and its version
//   engine_version 4.16             the engine that recorded it
//   frame_time 33                   milliseconds per step
//   cells 80 24                     the display's width and height in cells
//   random_seed 1712230517          the seed the random generator was given
//   config frame_time:33,headless:false,
//                                   the configuration text, to the end of the line
//
// Then one line per event, in the order the input manager delivered them:
//
//   STEP key KEY ACTION             KEY is the engine's key number (an SFML key the engine does
//                                   not name is its SFML number + 97); ACTION is pressed,
//                                   released or held
//   STEP mouse ACTION BUTTON X Y    ACTION is clicked, pressed or moved; BUTTON is none, left,
//                                   right or middle; X and Y are the cell position relative to
//                                   the view, as decimal numbers that read back exactly
//   STEP close                      the window was closed
//
// STEP counts the game loop's steps from the engine's start-up, across every run of the loop
// (the splash screen's and the game's): 0 is the splash screen's first step. Steps never go
// down; steps without input have no lines. The last line is
//
//   end STEPS                       the number of steps recorded; nothing after it is read
//
// A file cut short has no end line: a reader reports the line after its last as bad.
class InputRecording {
 public:
  // The engine's version as recordings write it.
  static std::string engineVersion();

  // Creates (or empties) the file and writes the header. -1 when the file cannot be written;
  // getProblem() says why.
  int create(const std::string& path, const RecordingHeader& header);
  // Appends one event delivered at step (steps must not go down) and writes it out, so that a
  // crash keeps what was played. -1, and nothing more is written, when the write failed.
  int write(int step, const InputEvent& event);
  // Writes the end line and closes the file. Does nothing when not writing. A file closed
  // without it reads as cut short.
  void finish(int step_count);
  // True from a successful create() until finish() or a failed write.
  bool isWriting() const { return out.is_open(); }

  // Opens a recording and reads its header. -1 when the file cannot be read or a header line is
  // bad; getProblem() says why.
  int open(const std::string& path);
  // The same from any stream (the fuzz target reads text this way).
  int open(std::unique_ptr<std::istream> source);
  // Valid after a successful open().
  const RecordingHeader& getHeader() const { return header; }
  // The next event. nullopt at the end line (isAtEnd() and getEndStep() tell) and at a bad line
  // (getProblem() names it), and for every later call.
  std::optional<RecordedEvent> readEvent();
  // True once the end line has been read.
  bool isAtEnd() const { return end_step >= 0; }
  // The steps recorded, from the end line; -1 before it is read.
  int getEndStep() const { return end_step; }

  // What went wrong last, starting with the line number for a bad line; empty when nothing did.
  const std::string& getProblem() const { return problem; }

 private:
  // Reads the header lines in order; false (with the problem set) at the first bad one.
  bool readHeader();
  // The next line without its line end; false at the end of the stream.
  bool nextLine(std::string& line);
  // An event or end line; nullopt with the problem set when it is neither.
  std::optional<RecordedEvent> parseLine(const std::string& line);
  // Sets the problem for the current line and stops reading; nullopt for the caller to return.
  std::nullopt_t badLine(const std::string& what);

  RecordingHeader header;
  std::ofstream out;
  // Step of the last event written or read; -1 before the first.
  int last_step = -1;
  std::unique_ptr<std::istream> in;
  int line_number = 0;
  // Set at the end line or a bad line: nothing more is read.
  bool stopped = false;
  int end_step = -1;
  std::string problem;
};

}  // namespace tx
