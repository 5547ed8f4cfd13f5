#include "tolvex/display/InputRecording.h"

#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "tolvex/core/GameManager.h"

namespace tx {

namespace {

const char* const FORMAT_KEYWORD = "tolvex-input-recording";
const char* const FORMAT_VERSION = "1";
const char* const END_KEYWORD = "end";
const char* const KEY_KEYWORD = "key";
const char* const MOUSE_KEYWORD = "mouse";
const char* const CLOSE_KEYWORD = "close";

// Names of the values -1 (undefined) and up of each enumeration.
const char* const KEY_ACTIONS[] = {"undefined", "pressed", "released", "held"};
const char* const MOUSE_ACTIONS[] = {"undefined", "clicked", "pressed", "moved"};
const char* const MOUSE_BUTTONS[] = {"none", "left", "right", "middle"};

// Every key number the input manager can deliver: the engine's keys and the SFML keys it does
// not name, which keep their SFML number plus an offset.
constexpr int LOWEST_KEY = static_cast<int>(KeyCode::UNDEFINED);
constexpr int HIGHEST_KEY = UNTRANSLATED_KEY_OFFSET + sf::Keyboard::KeyCount - 1;

template <std::size_t N>
const char* nameOf(const char* const (&names)[N], int value) {
  const int index = value + 1;
  return index >= 0 && index < static_cast<int>(N) ? names[index] : names[0];
}

// The value named, or nullopt for a name not in the list.
template <std::size_t N>
std::optional<int> valueOf(const char* const (&names)[N], const std::string& name) {
  for (std::size_t i = 0; i < N; ++i)
    if (name == names[i]) return static_cast<int>(i) - 1;
  return std::nullopt;
}

// The whole text as a decimal int; nullopt for anything else (blanks, signs other than a
// leading minus, trailing characters, out of range).
std::optional<int> readWholeInt(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The whole text as a finite float.
std::optional<float> readWholeFloat(const std::string& text) {
  float value = 0.0f;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

// The shortest decimal text that reads back as the same float.
std::string floatText(float value) {
  char buffer[32];
  const auto [stop, error] = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return error == std::errc() ? std::string(buffer, stop) : std::string("0");
}

std::vector<std::string> splitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, ' ')) fields.push_back(field);
  // A trailing blank leaves an empty last field, as two blanks in a row leave one inside.
  if (!line.empty() && line.back() == ' ') fields.emplace_back();
  return fields;
}

std::optional<int> readSize(const std::string& text) {
  const std::optional<int> value = readWholeInt(text);
  if (!value || *value < 1) return std::nullopt;
  return value;
}

// One header line: its keyword, how its value is written and read, and what a reader expects.
struct HeaderLine {
  const char* keyword;
  std::string (*write)(const RecordingHeader& header);
  bool (*read)(RecordingHeader& header, const std::string& value);
  const char* expected;
};

const HeaderLine HEADER_LINES[] = {
    {FORMAT_KEYWORD, [](const RecordingHeader&) { return std::string(FORMAT_VERSION); },
     [](RecordingHeader&, const std::string& value) { return value == FORMAT_VERSION; },
     "tolvex-input-recording 1"},
    {"engine_version", [](const RecordingHeader& h) { return h.engine_version; },
     [](RecordingHeader& h, const std::string& value) {
       h.engine_version = value;
       return !value.empty();
     },
     "engine_version and a version"},
    {"frame_time", [](const RecordingHeader& h) { return std::to_string(h.frame_time); },
     [](RecordingHeader& h, const std::string& value) {
       const std::optional<int> frame_time = readWholeInt(value);
       if (!frame_time || *frame_time < 0) return false;
       h.frame_time = *frame_time;
       return true;
     },
     "frame_time and milliseconds"},
    {"cells",
     [](const RecordingHeader& h) {
       return std::to_string(h.horizontal_cells) + " " + std::to_string(h.vertical_cells);
     },
     [](RecordingHeader& h, const std::string& value) {
       const std::vector<std::string> sizes = splitFields(value);
       if (sizes.size() != 2) return false;
       const std::optional<int> width = readSize(sizes[0]);
       const std::optional<int> height = readSize(sizes[1]);
       if (!width || !height) return false;
       h.horizontal_cells = *width;
       h.vertical_cells = *height;
       return true;
     },
     "cells, a width and a height"},
    {"random_seed", [](const RecordingHeader& h) { return std::to_string(h.random_seed); },
     [](RecordingHeader& h, const std::string& value) {
       const std::optional<int> seed = readWholeInt(value);
       if (!seed) return false;
       h.random_seed = *seed;
       return true;
     },
     "random_seed and a number"},
    {"config",
     [](const RecordingHeader& h) {
       // The text is one line of the file, whatever a program loaded.
       std::string text = h.config_text;
       std::replace_if(
           text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
       return text;
     },
     [](RecordingHeader& h, const std::string& value) {
       h.config_text = value;
       return true;
     },
     "config and the configuration text"},
};

// The value after "keyword " on the line (empty for the keyword alone); nullopt for a line
// that starts otherwise.
std::optional<std::string> valueAfter(const std::string& line, const std::string& keyword) {
  if (line == keyword) return std::string();
  if (line.compare(0, keyword.size() + 1, keyword + " ") != 0) return std::nullopt;
  return line.substr(keyword.size() + 1);
}

std::string eventLine(int step, const InputEvent& event) {
  std::string line = std::to_string(step) + " ";
  switch (event.kind) {
    case InputEvent::Kind::KEYBOARD:
      return line + KEY_KEYWORD + " " + std::to_string(static_cast<int>(event.key)) + " " +
             nameOf(KEY_ACTIONS, static_cast<int>(event.key_action));
    case InputEvent::Kind::MOUSE:
      return line + MOUSE_KEYWORD + " " +
             nameOf(MOUSE_ACTIONS, static_cast<int>(event.mouse_action)) + " " +
             nameOf(MOUSE_BUTTONS, static_cast<int>(event.button)) + " " +
             floatText(event.position.getX()) + " " + floatText(event.position.getY());
    case InputEvent::Kind::CLOSE:
      break;
  }
  return line + CLOSE_KEYWORD;
}

// The fields after the step of a key line: KEY ACTION.
std::optional<InputEvent> readKey(const std::vector<std::string>& fields) {
  if (fields.size() != 4) return std::nullopt;
  const std::optional<int> key = readWholeInt(fields[2]);
  const std::optional<int> action = valueOf(KEY_ACTIONS, fields[3]);
  if (!key || *key < LOWEST_KEY || *key > HIGHEST_KEY || !action) return std::nullopt;
  return InputEvent::keyboard(static_cast<KeyCode>(*key), static_cast<KeyAction>(*action));
}

// The fields after the step of a mouse line: ACTION BUTTON X Y.
std::optional<InputEvent> readMouse(const std::vector<std::string>& fields) {
  if (fields.size() != 6) return std::nullopt;
  const std::optional<int> action = valueOf(MOUSE_ACTIONS, fields[2]);
  const std::optional<int> button = valueOf(MOUSE_BUTTONS, fields[3]);
  const std::optional<float> x = readWholeFloat(fields[4]);
  const std::optional<float> y = readWholeFloat(fields[5]);
  if (!action || !button || !x || !y) return std::nullopt;
  return InputEvent::mouse(static_cast<MouseAction>(*action), static_cast<MouseButton>(*button),
                           Vector(*x, *y));
}

std::optional<InputEvent> readInput(const std::vector<std::string>& fields) {
  if (fields[1] == KEY_KEYWORD) return readKey(fields);
  if (fields[1] == MOUSE_KEYWORD) return readMouse(fields);
  if (fields[1] == CLOSE_KEYWORD && fields.size() == 2) return InputEvent::close();
  return std::nullopt;
}

}  // namespace

std::string InputRecording::engineVersion() {
  char text[32];
  std::snprintf(text, sizeof(text), "%.2f", static_cast<double>(TOLVEX_VERSION));
  return text;
}

int InputRecording::create(const std::string& path, const RecordingHeader& new_header) {
  out.open(path, std::ios::binary | std::ios::trunc);
  if (!out.is_open()) {
    problem = "the file cannot be written";
    return -1;
  }
  header = new_header;
  last_step = -1;
  for (const HeaderLine& line : HEADER_LINES)
    out << line.keyword << ' ' << line.write(header) << '\n';
  out.flush();
  if (!out) {
    problem = "the file cannot be written";
    out.close();
    return -1;
  }
  problem.clear();
  return 0;
}

int InputRecording::write(int step, const InputEvent& event) {
  if (!out.is_open()) return -1;
  out << eventLine(step, event) << '\n';
  out.flush();
  if (!out) {
    problem = "the file cannot be written";
    out.close();
    return -1;
  }
  last_step = step;
  return 0;
}

void InputRecording::finish(int step_count) {
  if (!out.is_open()) return;
  out << END_KEYWORD << ' ' << step_count << '\n';
  out.close();
}

int InputRecording::open(const std::string& path) {
  auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!file->is_open()) {
    problem = "the file cannot be read";
    return -1;
  }
  return open(std::move(file));
}

int InputRecording::open(std::unique_ptr<std::istream> source) {
  in = std::move(source);
  line_number = 0;
  last_step = -1;
  end_step = -1;
  stopped = false;
  problem.clear();
  return readHeader() ? 0 : -1;
}

bool InputRecording::readHeader() {
  for (const HeaderLine& expected : HEADER_LINES) {
    std::string line;
    std::optional<std::string> value;
    if (nextLine(line)) value = valueAfter(line, expected.keyword);
    if (!value || !expected.read(header, *value)) {
      badLine(std::string("expected ") + expected.expected);
      return false;
    }
  }
  return true;
}

// Counts the line even when there is none, so that a missing line has a number too.
bool InputRecording::nextLine(std::string& line) {
  ++line_number;
  if (!in || !std::getline(*in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::optional<RecordedEvent> InputRecording::readEvent() {
  if (stopped || !in) return std::nullopt;
  std::string line;
  if (!nextLine(line)) return badLine("the recording stops here without its end line");
  return parseLine(line);
}

std::optional<RecordedEvent> InputRecording::parseLine(const std::string& line) {
  const std::vector<std::string> fields = splitFields(line);
  if (fields.size() == 2 && fields[0] == END_KEYWORD) {
    const std::optional<int> steps = readWholeInt(fields[1]);
    if (!steps || *steps <= last_step || *steps < 0)
      return badLine("the end line needs a step count above the last event's step");
    end_step = *steps;
    stopped = true;
    return std::nullopt;
  }
  const std::optional<int> step = fields.size() >= 2 ? readWholeInt(fields[0]) : std::nullopt;
  if (!step || *step < 0) return badLine("not an input event");
  if (*step < last_step)
    return badLine("step " + std::to_string(*step) + " comes after step " +
                   std::to_string(last_step));
  const std::optional<InputEvent> event = readInput(fields);
  if (!event) return badLine("not an input event");
  last_step = *step;
  return RecordedEvent{*step, *event};
}

std::nullopt_t InputRecording::badLine(const std::string& what) {
  problem = "line " + std::to_string(line_number) + ": " + what;
  stopped = true;
  return std::nullopt;
}

}  // namespace tx
