#pragma once

// The real program as a child process under an X server of its own (Xvfb, when there is one;
// DISPLAY otherwise), driven with real key presses through XTest.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "TestSupport.h"
#include "XInput.h"

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace tx::test {

inline void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

inline bool waitFor(const std::function<bool()>& condition, int seconds, int every_ms = 50) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    sleepMs(every_ms);
  }
  return condition();
}

class ProgramTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    startPrivateServer();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(std::filesystem::exists(TOLVEX_GAME_BINARY)) << TOLVEX_GAME_BINARY;
    input = std::make_unique<XInput>();
    ASSERT_TRUE(input->isOpen());
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    title = "TolvexTest" + std::to_string(getpid());
    writeFile("tx-config.txt", "window_title:" + title + ",\n");
  }

  void TearDown() override {
    if (child > 0 && kill(child, SIGKILL) == 0) waitpid(child, nullptr, 0);
    if (display != nullptr) XCloseDisplay(display);
    input.reset();
    if (server > 0 && kill(server, SIGTERM) == 0) waitpid(server, nullptr, 0);
    EngineTest::TearDown();
  }

  // Xvfb picks a free display number and writes it to the pipe.
  void startPrivateServer() {
    int numbers[2];
    if (pipe(numbers) != 0) return;
    server = fork();
    if (server == 0) {
      close(numbers[0]);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
      execlp("Xvfb", "Xvfb", "-displayfd", std::to_string(numbers[1]).c_str(), "-screen", "0",
             "1280x1024x24", "-nolisten", "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(numbers[1]);
    std::string number;
    char c = 0;
    while (server > 0 && read(numbers[0], &c, 1) == 1 && c != '\n') number += c;
    close(numbers[0]);
    if (!number.empty()) setenv("DISPLAY", (":" + number).c_str(), 1);
  }

  // Starts the program in work_dir and waits for its window; true when it has the focus.
  bool launchAndFocus(const std::string& work_dir) {
    child = fork();
    if (child == 0) {
      if (chdir(work_dir.c_str()) != 0) _exit(127);
      setenv("ALSOFT_DRIVERS", "null", 1);
      // Q in play leaves with the world still full, on purpose: in a sanitizer build that is
      // not a leak to report. Leaks are checked where the program shuts down (tools/leak-check).
      setenv("LSAN_OPTIONS", "detect_leaks=0", 1);
      if (freopen(path("stdout.txt").c_str(), "w", stdout) == nullptr) _exit(127);
      if (freopen(path("stderr.txt").c_str(), "w", stderr) == nullptr) _exit(127);
      execl(TOLVEX_GAME_BINARY, TOLVEX_GAME_BINARY, static_cast<char*>(nullptr));
      _exit(127);
    }
    return child > 0 &&
           waitFor([this] { return (window = findWindow(DefaultRootWindow(display))) != 0; }, 60) &&
           input->focus(window);
  }

  Window findWindow(Window under) {
    char* name = nullptr;
    if (XFetchName(display, under, &name) != 0 && name != nullptr) {
      const bool found = title == name;
      XFree(name);
      if (found) return under;
    }
    Window root = 0, parent = 0, found = 0, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, under, &root, &parent, &children, &count) == 0) return 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) found = findWindow(children[i]);
    if (children != nullptr) XFree(children);
    return found;
  }

  void tap(unsigned long keysym, int hold_ms = 150) {
    input->focus(window);
    input->pressKey(keysym);
    sleepMs(hold_ms);
    input->releaseKey(keysym);
    input->settle();
  }

  bool tapUntil(unsigned long keysym, const std::function<bool()>& condition, int tries = 6) {
    for (int i = 0; i < tries; ++i) {
      tap(keysym);
      if (waitFor(condition, 5)) return true;
    }
    return false;
  }

  void skipSplash() {
    sleepMs(300);
    tap(XK_space);
    ASSERT_TRUE(waitFor([&] { return logHas("RM::loadSprite(): Sprite 'powerup4' loaded."); }, 60))
        << logText();
  }

  void startGameWithP() {
    const int games = logCount("RESET");
    ASSERT_TRUE(tapUntil(XK_p, [&] { return logCount("RESET") > games; })) << logText();
  }

  // Exit status (128 + the signal when killed by one); -1 when still running after the time.
  int waitExit(int seconds) {
    int status = 0;
    if (child <= 0 || !waitFor([&] { return waitpid(child, &status, WNOHANG) == child; }, seconds))
      return -1;
    child = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  int quitWithQ() {
    int status = -1;
    tapUntil(XK_q, [&] { return (status = waitExit(1)) != -1; });
    return status;
  }

  pid_t server = -1;
  pid_t child = -1;
  std::unique_ptr<XInput> input;
  Display* display = nullptr;
  std::string title;
  Window window = 0;
};

}  // namespace tx::test
