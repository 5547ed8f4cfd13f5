#include "FramePlayer.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// The ANSI colour number of a colour letter: black to white are 0 to 7; '?' shows as white.
int ansiColor(char code) {
  const std::string letters = "krgybmcw";
  const std::size_t at = letters.find(code);
  return at == std::string::npos ? 7 : static_cast<int>(at);
}

// The terminal as it was, restored on every way out.
termios saved_terminal;
bool terminal_changed = false;

void restoreTerminal() {
  if (!terminal_changed) return;
  tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
  // Cursor shown, colours reset, the normal screen back.
  std::fputs("\x1b[0m\x1b[?25h\x1b[?1049l", stdout);
  std::fflush(stdout);
  terminal_changed = false;
}

void quitOnSignal(int /*signal*/) {
  restoreTerminal();
  std::_Exit(130);
}

// Keys one at a time without echo; the frames on a screen of their own without a cursor.
void prepareTerminal() {
  if (tcgetattr(STDIN_FILENO, &saved_terminal) != 0) return;
  termios raw = saved_terminal;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return;
  terminal_changed = true;
  std::atexit(restoreTerminal);
  std::signal(SIGINT, quitOnSignal);
  std::signal(SIGTERM, quitOnSignal);
  std::fputs("\x1b[?1049h\x1b[?25l\x1b[2J", stdout);
}

}  // namespace

std::string FramePlayer::render(std::size_t index, bool paused) const {
  const tx::CapturedFrame& frame = frames[index];
  const int background = ansiColor(frame.background);
  std::string text = "\x1b[H";
  for (int row = 0; row < frame.getRows(); row++) {
    int color = -1;
    for (int column = 0; column < frame.getColumns(); column++) {
      const char code =
          frame.colors[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
      const int wanted = code == '.' ? background : ansiColor(code);
      if (wanted != color) {
        text += "\x1b[1;3" + std::to_string(wanted) + ";4" + std::to_string(background) + "m";
        color = wanted;
      }
      text += frame.characters[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
    text += "\x1b[0m\n";
  }
  text += "\x1b[0m\x1b[K step " + std::to_string(frame.step) + "   frame " +
          std::to_string(index + 1) + "/" + std::to_string(frames.size()) +
          (paused ? "   paused" : "   playing") + "   space: pause   arrows: step   q: quit";
  return text;
}

int FramePlayer::durationOf(std::size_t index) const {
  const tx::CapturedFrame& frame = frames[index];
  const int steps = index + 1 < frames.size() ? frames[index + 1].step - frame.step : 1;
  return (steps > 0 ? steps : 1) * frame.frame_time;
}

FramePlayer::Key FramePlayer::readKey(int milliseconds) {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  if (poll(&input, 1, milliseconds) <= 0) return Key::NONE;
  char key = 0;
  if (read(STDIN_FILENO, &key, 1) != 1) return Key::QUIT;
  if (key == ' ') return Key::PAUSE;
  if (key == 'q' || key == 'Q') return Key::QUIT;
  if (key != '\x1b') return Key::NONE;
  // An arrow comes as ESC [ C (right) or ESC [ D (left).
  char sequence[2] = {0, 0};
  if (poll(&input, 1, 50) <= 0 || read(STDIN_FILENO, &sequence[0], 1) != 1 ||
      poll(&input, 1, 50) <= 0 || read(STDIN_FILENO, &sequence[1], 1) != 1)
    return Key::NONE;
  if (sequence[0] != '[') return Key::NONE;
  if (sequence[1] == 'C') return Key::FORWARD;
  if (sequence[1] == 'D') return Key::BACK;
  return Key::NONE;
}

int FramePlayer::play() {
  const bool interactive = isatty(STDIN_FILENO) != 0;
  if (interactive) prepareTerminal();
  std::size_t index = 0;
  bool paused = false;
  for (;;) {
    std::fputs(render(index, paused).c_str(), stdout);
    std::fflush(stdout);
    const bool at_end = index + 1 >= frames.size();
    if (!interactive) {
      if (at_end) return 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(durationOf(index)));
      index++;
      continue;
    }
    switch (readKey(paused || at_end ? -1 : durationOf(index))) {
      case Key::NONE:
        if (!paused && !at_end) index++;
        break;
      case Key::PAUSE:
        paused = !paused;
        break;
      case Key::FORWARD:
        paused = true;
        if (!at_end) index++;
        break;
      case Key::BACK:
        paused = true;
        if (index > 0) index--;
        break;
      case Key::QUIT:
        restoreTerminal();
        return 0;
    }
  }
}
