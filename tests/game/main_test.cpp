// The real program under the X server, driven with real key presses through XTest.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SFML/Graphics/Image.hpp>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "XInput.h"

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace tx::test {
namespace {

using Clock = std::chrono::steady_clock;

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// What the window shows, counted by colour family. The title screen is yellow alone; the
// head-up display (green and yellow) stays on screen from the start of a game to its end.
struct Ink {
  int red = 0;
  int yellow = 0;
  int white = 0;
  int green = 0;
  long white_x_sum = 0;
  double whiteCentreX() const { return white > 0 ? static_cast<double>(white_x_sum) / white : -1; }
};

class GameProgram : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    startPrivateServer();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
    input = std::make_unique<XInput>();
    ASSERT_TRUE(input->isOpen());
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    // A title of its own, so the window is found among other tests' windows.
    title = "SkywardTest" + std::to_string(getpid());
    writeFile("tx-config.txt", "window_title:" + title + ",\n");
    artifacts = std::filesystem::path(TOLVEX_GAME_BINARY).parent_path() / "test-artifacts" / "game";
    std::filesystem::create_directories(artifacts);
  }

  void TearDown() override {
    if (child > 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
    if (display != nullptr) XCloseDisplay(display);
    input.reset();
    if (server > 0) {
      kill(server, SIGTERM);
      waitpid(server, nullptr, 0);
    }
    EngineTest::TearDown();
  }

  // Key presses go to whichever window has the focus, so a test beside this one typing into
  // its own window would type into the game too. The game gets an X server of its own when
  // Xvfb is there (it picks a free display number); otherwise DISPLAY is shared.
  void startPrivateServer() {
    int numbers[2];
    if (pipe(numbers) != 0) return;
    server = fork();
    if (server == 0) {
      close(numbers[0]);
      const std::string fd = std::to_string(numbers[1]);
      const int null = open("/dev/null", O_WRONLY);
      if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
      }
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(numbers[1]);
    if (server < 0) {
      close(numbers[0]);
      return;
    }
    std::string number;
    char c = 0;
    while (read(numbers[0], &c, 1) == 1 && c != '\n') number += c;
    close(numbers[0]);
    if (number.empty()) {
      waitpid(server, nullptr, 0);
      server = -1;
      return;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
  }

  void launch() {
    child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (chdir(TOLVEX_SOURCE_DIR) != 0) _exit(127);
      setenv("ALSOFT_DRIVERS", "null", 1);
      if (freopen(path("stdout.txt").c_str(), "w", stdout) == nullptr) _exit(127);
      if (freopen(path("stderr.txt").c_str(), "w", stderr) == nullptr) _exit(127);
      execl(TOLVEX_GAME_BINARY, TOLVEX_GAME_BINARY, static_cast<char*>(nullptr));
      _exit(127);
    }
  }

  static bool waitFor(const std::function<bool()>& condition, int seconds, int every_ms = 50) {
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < deadline) {
      if (condition()) return true;
      sleepMs(every_ms);
    }
    return condition();
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

  // Starts the program and waits for its window; true when it has the keyboard focus.
  bool launchAndFocus() {
    launch();
    if (!waitFor([this] { return (window = findWindow(DefaultRootWindow(display))) != 0; }, 60))
      return false;
    return input->focus(window);
  }

  // The window's pixels, saved as a PNG under the build directory's test artefacts.
  // Takes no focus: tests beside this one may be typing into their own windows. A part that
  // another window covers reads back black, so waits on pictures try again.
  Ink capture(const std::string& name) {
    Ink ink;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) return ink;
    XImage* shot = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                             static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (shot == nullptr) return ink;
    const bool save = !name.empty();
    sf::Image image;
    const auto width = static_cast<unsigned>(attributes.width);
    const auto height = static_cast<unsigned>(attributes.height);
    if (save) image.create(width, height);
    for (int y = 0; y < attributes.height; ++y) {
      for (int x = 0; x < attributes.width; ++x) {
        const unsigned long pixel = XGetPixel(shot, x, y);
        const auto r = static_cast<sf::Uint8>((pixel >> 16) & 0xff);
        const auto g = static_cast<sf::Uint8>((pixel >> 8) & 0xff);
        const auto b = static_cast<sf::Uint8>(pixel & 0xff);
        if (save) {
          image.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y), sf::Color(r, g, b));
        }
        // Only full-strength glyph pixels, not the blend at their edges.
        if (r > 230 && g > 230 && b > 230) {
          ++ink.white;
          ink.white_x_sum += x;
        } else if (r > 230 && g > 230 && b < 40) {
          ++ink.yellow;
        } else if (r > 230 && g < 40 && b < 40) {
          ++ink.red;
        } else if (r < 40 && g > 230 && b < 40) {
          ++ink.green;
        }
      }
    }
    XDestroyImage(shot);
    if (save) image.saveToFile((artifacts / (name + ".png")).string());
    return ink;
  }

  void tap(unsigned long keysym) {
    input->focus(window);
    input->pressKey(keysym);
    input->settle();
    sleepMs(150);
    input->releaseKey(keysym);
    input->settle();
  }

  bool showsTitle() {
    const Ink ink = capture("");
    return ink.red == 0 && ink.green == 0 && ink.yellow > 1000;
  }
  bool showsGameOver() { return capture("").red > 1000; }

  // Taps the key until the condition holds: a test running beside this one may take the
  // keyboard focus for a moment.
  bool tapUntil(unsigned long keysym, const std::function<bool()>& condition, int tries = 6) {
    for (int i = 0; i < tries; ++i) {
      tap(keysym);
      if (waitFor(condition, 5)) return true;
    }
    return false;
  }

  // Exit status of the program (128 + the signal when killed by one), -1 when it has not ended
  // within the time, -2 when it was already reaped.
  int waitExit(int seconds) {
    if (child <= 0) return -2;
    int status = 0;
    const bool ended = waitFor([&] { return waitpid(child, &status, WNOHANG) == child; }, seconds);
    if (!ended) return -1;
    child = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  // From the splash screen to the title screen.
  void skipSplash() {
    sleepMs(300);
    tap(XK_space);
    const std::string loaded = "RM::loadSprite(): Sprite 'powerup4' loaded.";
    ASSERT_TRUE(waitFor([&] { return logHas(loaded); }, 60))
        << logText();
    ASSERT_TRUE(waitFor([this] { return showsTitle(); }, 30, 400));
  }

  void startGameWithP() {
    const int games = logCount("RESET");
    ASSERT_TRUE(tapUntil(XK_p, [&] { return logCount("RESET") > games; })) << logText();
  }

  pid_t server = -1;
  std::unique_ptr<XInput> input;
  Display* display = nullptr;
  std::string title;
  std::filesystem::path artifacts;
  pid_t child = -1;
  Window window = 0;
};

TEST_F(GameProgram, PlaysTwoGamesAndQuitsFromTheTitle) {
  ASSERT_TRUE(launchAndFocus());
  capture("1-splash");
  skipSplash();
  const Ink title_screen = capture("2-title");
  EXPECT_EQ(title_screen.red, 0);

  startGameWithP();
  EXPECT_EQ(logCount("Pause::Pause(): Pause enabled.  Press any other key to resume."), 1);
  sleepMs(500);
  Ink standing;
  ASSERT_TRUE(waitFor([&] { return (standing = capture("3-playing")).white > 0; }, 10, 400));
  EXPECT_GT(standing.green, 0);

  EXPECT_TRUE(tapUntil(XK_space, [this] { return logHas("0"); }));
  capture("4-jumping");
  bool moved_right = false;
  for (int attempt = 0; attempt < 3 && !moved_right; ++attempt) {
    input->focus(window);
    input->pressKey(XK_d);
    input->settle();
    sleepMs(600);
    input->releaseKey(XK_d);
    input->settle();
    Ink moved;
    waitFor([&] { return (moved = capture("5-moved-right")).white > 0; }, 10, 400);
    moved_right = moved.whiteCentreX() > standing.whiteCentreX() + 12.0;
  }
  EXPECT_TRUE(moved_right);

  // Hands off: the floor scrolls away and the player falls out of the view.
  ASSERT_TRUE(waitFor([this] { return logHas("Player Dead."); }, 180)) << logText();
  EXPECT_TRUE(waitFor([this] { return showsGameOver(); }, 10, 400));
  capture("6-game-over");
  ASSERT_TRUE(waitFor([this] { return showsTitle(); }, 60, 400));
  capture("7-title-again");

  startGameWithP();
  sleepMs(500);
  capture("8-second-game");
  // One pause object serves both games.
  EXPECT_EQ(logCount("Pause::Pause(): Pause enabled.  Press any other key to resume."), 1);
  ASSERT_TRUE(waitFor([this] { return logCount("Player Dead.") == 2; }, 180)) << logText();
  EXPECT_TRUE(waitFor([this] { return showsGameOver(); }, 10, 400));
  ASSERT_TRUE(waitFor([this] { return showsTitle(); }, 60, 400));

  int status = -1;
  EXPECT_TRUE(tapUntil(XK_q, [&] { return (status = waitExit(1)) != -1; }));
  EXPECT_EQ(status, 0);
  const std::vector<std::string> lines = logMessages();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], std::string(52, '*'));
  EXPECT_EQ(lines.back(), "** Game engine stopped **");
  for (const std::string& line : lines) EXPECT_EQ(line.find("Error"), std::string::npos) << line;
}

TEST_F(GameProgram, QDuringPlayLeavesAtOnceAndCleanly) {
  ASSERT_TRUE(launchAndFocus());
  skipSplash();
  startGameWithP();
  sleepMs(300);
  int status = -1;
  EXPECT_TRUE(tapUntil(XK_q, [&] { return (status = waitExit(1)) != -1; }));
  EXPECT_EQ(status, 0);
  // No orderly shut-down, and nothing went wrong on the way out.
  EXPECT_FALSE(logHas("** Game engine stopped **"));
  EXPECT_FALSE(logHas("Player Dead."));
  const std::string errors = readFile(path("stderr.txt"));
  for (const char* bad : {"rror", "AL lib", "Segmentation", "terminate", "Assertion"}) {
    EXPECT_EQ(errors.find(bad), std::string::npos) << errors;
  }
}

}  // namespace
}  // namespace tx::test
