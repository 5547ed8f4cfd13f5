// The real program started in a copy of the game's data with files missing or damaged: it must
// reach the title screen, play and quit cleanly, with the resource manager's messages only.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "XInput.h"

// Xlib last: its macros would break the headers above.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace tx::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool waitFor(const std::function<bool()>& condition, int seconds) {
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  while (Clock::now() < deadline) {
    if (condition()) return true;
    sleepMs(50);
  }
  return condition();
}

class MissingAssets : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(fs::exists(TOLVEX_GAME_BINARY)) << TOLVEX_GAME_BINARY << " is not built";
    ASSERT_TRUE(input.isOpen());
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    // The game's data, copied so that files can be taken away.
    data = fs::path(dir) / "game";
    const fs::path source(TOLVEX_SOURCE_DIR);
    fs::create_directories(data);
    fs::copy(source / "sprites", data / "sprites", fs::copy_options::recursive);
    fs::copy(source / "sounds", data / "sounds", fs::copy_options::recursive);
    fs::copy(source / "tx-font.ttf", data / "tx-font.ttf");
    title = "MissingAssets" + std::to_string(getpid());
    writeFile("tx-config.txt", "window_title:" + title + ",\n");
  }

  void TearDown() override {
    if (child > 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
    if (display != nullptr) XCloseDisplay(display);
    EngineTest::TearDown();
  }

  void launch() {
    child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (chdir(data.c_str()) != 0) _exit(127);
      setenv("ALSOFT_DRIVERS", "null", 1);
      if (freopen(path("stderr.txt").c_str(), "w", stderr) == nullptr) _exit(127);
      execl(TOLVEX_GAME_BINARY, TOLVEX_GAME_BINARY, static_cast<char*>(nullptr));
      _exit(127);
    }
  }

  Window findWindow(Window under) {
    char* name = nullptr;
    if (XFetchName(display, under, &name) != 0 && name != nullptr) {
      const bool found = title == name;
      XFree(name);
      if (found) return under;
    }
    Window root_return = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display, under, &root_return, &parent, &children, &count) != 0) {
      for (unsigned int i = 0; i < count && found == 0; ++i) found = findWindow(children[i]);
      if (children != nullptr) XFree(children);
    }
    return found;
  }

  void tap(unsigned long keysym) {
    input.focus(window);
    input.pressKey(keysym);
    input.settle();
    sleepMs(150);
    input.releaseKey(keysym);
    input.settle();
  }

  // Exit status, or -1 when the program did not end normally in time.
  int waitExit(int seconds) {
    int status = 0;
    if (!waitFor([&] { return waitpid(child, &status, WNOHANG) == child; }, seconds)) return -1;
    child = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  bool running() { return child > 0 && waitpid(child, nullptr, WNOHANG) == 0; }

  XInput input;
  Display* display = nullptr;
  fs::path data;
  std::string title;
  pid_t child = -1;
  Window window = 0;
};

TEST_F(MissingAssets, GameStartsPlaysAndQuitsWithoutASpriteASoundAndTheMusic) {
  fs::remove(data / "sprites" / "playerjump.txt");
  fs::remove(data / "sounds" / "jump.wav");
  fs::remove(data / "sounds" / "menuMusic.wav");
  fs::remove(data / "sounds" / "ingameMusic.wav");
  // Damaged: a sprite cut off in its body, a sound that is not audio at all.
  fs::resize_file(data / "sprites" / "platform2.txt", 60);
  writeFile("game/sounds/fall.wav", "RIFF, but not really");

  launch();
  ASSERT_TRUE(waitFor([this] { return (window = findWindow(DefaultRootWindow(display))) != 0; }, 60));
  ASSERT_TRUE(input.focus(window));
  sleepMs(300);
  tap(XK_space);
  ASSERT_TRUE(waitFor([this] { return logHas("RM::loadSprite(): Sprite 'powerup4' loaded."); }, 60))
      << logText();
  sleepMs(1000);
  EXPECT_TRUE(logHas("RM::loadSprite(): Error! Cannot open file 'sprites/playerjump.txt'."));
  EXPECT_TRUE(logHas("RM::loadSprite(): Sprite 'platform2' not loaded."));
  EXPECT_TRUE(logHas("RM::loadSound(): Error! Cannot load sound from file 'sounds/jump.wav'."));
  EXPECT_TRUE(logHas("RM::loadSound(): Error! Cannot load sound from file 'sounds/fall.wav'."));
  EXPECT_TRUE(
      logHas("RM::loadmusic(): Error! Cannot load music from file 'sounds/menuMusic.wav'."));

  // Play: a game starts, and jumping asks for the missing sound and sprite.
  const int games = logCount("RESET");
  tap(XK_p);
  ASSERT_TRUE(waitFor([&] { return logCount("RESET") > games; }, 30)) << logText();
  tap(XK_space);
  sleepMs(300);
  tap(XK_w);
  EXPECT_TRUE(waitFor([this] { return logHas("RM::getSound(): Warning! Sound 'jump' not found."); }, 10));
  sleepMs(1000);
  ASSERT_TRUE(running());

  // Q in play leaves at once, with status 0.
  tap(XK_q);
  EXPECT_EQ(waitExit(30), 0) << logText();
  EXPECT_EQ(readFile(path("stderr.txt")).find("Sanitizer"), std::string::npos);
}

}  // namespace
}  // namespace tx::test
