// The whole program: under an X server with real key presses, headless through the real game
// loop, and in a copy of its data with files missing. tools/leak-check runs the first two in the
// sanitizer build: whatever the program creates must be released by its shut-down.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "GameFixture.h"
#include "XInput.h"
#include "core/SplashScreen.h"

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace tx::test {
namespace {

namespace fs = std::filesystem;

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool waitFor(const std::function<bool()>& condition, int seconds, int every_ms = 50) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    sleepMs(every_ms);
  }
  return condition();
}

// Full-strength pixels of the window by colour family. The title screen is yellow alone; the
// head-up display (green and yellow) stays on screen for a whole game; game over is red.
struct Ink {
  int red = 0, yellow = 0, white = 0, green = 0;
  double white_x = 0.0;  // mean column of the white pixels: the player
};

// The real program as a child process on the tests' X display, driven through XTest.
class ProgramTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
    input = std::make_unique<XInput>();
    display = XOpenDisplay(nullptr);
    ASSERT_TRUE(input->isOpen() && display != nullptr);
    title = "TolvexTest" + std::to_string(getpid());
    writeFile("tx-config.txt", "window_title:" + title + ",\n");
  }
  void TearDown() override {
    if (child > 0 && kill(child, SIGKILL) == 0) waitpid(child, nullptr, 0);
    if (display != nullptr) XCloseDisplay(display);
    EngineTest::TearDown();
  }
  // Starts the program in work_dir and waits for its window; true when it has the focus. A run
  // that leaves mid-game (without the shut-down) is not checked for leaks.
  bool launchAndFocus(const std::string& work_dir, bool leaves_mid_game = false) {
    child = fork();
    if (child == 0) {
      if (chdir(work_dir.c_str()) != 0) _exit(127);
      setenv("ALSOFT_DRIVERS", "null", 1);
      if (leaves_mid_game) setenv("LSAN_OPTIONS", "detect_leaks=0", 1);
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
  bool tapUntil(unsigned long keysym, const std::function<bool()>& condition) {
    for (int i = 0; i < 6; ++i)
      if (tap(keysym), waitFor(condition, 5)) return true;
    return false;
  }
  void skipSplashAndStartAGame() {
    sleepMs(300);
    tap(XK_space);
    ASSERT_TRUE(waitFor([&] { return logHas("RM::loadSprite(): Sprite 'powerup4' loaded."); }, 60));
    ASSERT_TRUE(tapUntil(XK_p, [&] { return logHas("RESET"); })) << logText();
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
  Ink capture() {
    Ink ink;
    XWindowAttributes at;
    XImage* shot = XGetWindowAttributes(display, window, &at) == 0
                       ? nullptr
                       : XGetImage(display, window, 0, 0, static_cast<unsigned>(at.width),
                                   static_cast<unsigned>(at.height), AllPlanes, ZPixmap);
    long white_x_sum = 0;
    for (int y = 0; shot != nullptr && y < at.height; ++y)
      for (int x = 0; x < at.width; ++x) {
        const unsigned long pixel = XGetPixel(shot, x, y);
        const int r = (pixel >> 16) & 255, g = (pixel >> 8) & 255, b = pixel & 255;
        const bool full_r = r > 230, full_g = g > 230, full_b = b > 230;
        ink.white += full_r && full_g && full_b;
        white_x_sum += full_r && full_g && full_b ? x : 0;
        ink.yellow += full_r && full_g && b < 40;
        ink.red += full_r && g < 40 && b < 40;
        ink.green += r < 40 && full_g && b < 40;
      }
    if (shot != nullptr) XDestroyImage(shot);
    ink.white_x = ink.white > 0 ? static_cast<double>(white_x_sum) / ink.white : -1.0;
    return ink;
  }
  bool showsTitle() {
    const Ink ink = capture();
    return ink.red == 0 && ink.green == 0 && ink.yellow > 1000;
  }

  pid_t child = -1;
  std::unique_ptr<XInput> input;
  Display* display = nullptr;
  std::string title;
  Window window = 0;
};

using GameProgram = ProgramTest;

// Splash, title, a game played with real keys until the player falls out of the view, game
// over, the title again, and Q: the program shuts down in order and exits with 0.
TEST_F(GameProgram, PlaysAGameToItsEndAndQuitsFromTheTitle) {
  ASSERT_TRUE(launchAndFocus(TOLVEX_SOURCE_DIR));
  skipSplashAndStartAGame();
  Ink standing;
  ASSERT_TRUE(waitFor([&] { return (standing = capture()).white > 0; }, 10, 400));
  EXPECT_GT(standing.green, 0);
  EXPECT_TRUE(tapUntil(XK_space, [this] { return logHas("0"); })) << "no jump";
  bool moved_right = false;
  for (int attempt = 0; attempt < 3 && !moved_right; ++attempt) {
    tap(XK_d, 600);
    Ink moved;
    waitFor([&] { return (moved = capture()).white > 0; }, 10, 400);
    moved_right = moved.white_x > standing.white_x + 12.0;
  }
  EXPECT_TRUE(moved_right);
  ASSERT_TRUE(waitFor([this] { return logHas("Player Dead."); }, 180)) << logText();
  EXPECT_TRUE(waitFor([this] { return capture().red > 1000; }, 10, 400)) << "game over";
  ASSERT_TRUE(waitFor([this] { return showsTitle(); }, 60, 400));
  EXPECT_EQ(quitWithQ(), 0) << readFile(path("stderr.txt"));
  EXPECT_EQ(logMessages().back(), "** Game engine stopped **");
  for (const std::string& line : logMessages()) EXPECT_EQ(line.find("Error"), std::string::npos);
  EXPECT_EQ(readFile(path("stderr.txt")).find("Sanitizer"), std::string::npos);
}

// With a sprite, a sound and both pieces of music missing, a sprite cut short and a sound that
// is no audio, the program still plays (asking for what is missing) and Q in play leaves at once.
TEST_F(GameProgram, MissingAndDamagedFilesAreReportedAndTheGamePlaysOn) {
  const fs::path data = fs::path(dir) / "game", source(TOLVEX_SOURCE_DIR);
  fs::create_directories(data);
  for (const char* part : {"sprites", "sounds", "tx-font.ttf"})
    fs::copy(source / part, data / part, fs::copy_options::recursive);
  for (const char* gone : {"sprites/playerjump.txt", "sounds/jump.wav", "sounds/menuMusic.wav",
                           "sounds/ingameMusic.wav"})
    fs::remove(data / gone);
  fs::resize_file(data / "sprites" / "platform2.txt", 60);
  writeFile("game/sounds/fall.wav", "RIFF, but not really");
  ASSERT_TRUE(launchAndFocus(data.string(), true));
  skipSplashAndStartAGame();
  for (const char* line : {"RM::loadSprite(): Error! Cannot open file 'sprites/playerjump.txt'.",
                           "RM::loadSprite(): Sprite 'platform2' not loaded.",
                           "RM::loadSound(): Error! Cannot load sound from file 'sounds/jump.wav'.",
                           "RM::loadSound(): Error! Cannot load sound from file 'sounds/fall.wav'.",
                           "RM::loadmusic(): Error! Cannot load music from file "
                           "'sounds/menuMusic.wav'."})
    EXPECT_TRUE(logHas(line)) << line;
  tap(XK_space);
  EXPECT_TRUE(
      waitFor([this] { return logHas("RM::getSound(): Warning! Sound 'jump' not found."); }, 10));
  sleepMs(1000);
  ASSERT_EQ(waitExit(0), -1) << "still running";
  EXPECT_EQ(quitWithQ(), 0) << logText();
  EXPECT_FALSE(logHas("** Game engine stopped **"));
  const std::string errors = readFile(path("stderr.txt"));
  for (const char* bad : {"rror", "AL lib", "Segmentation", "terminate", "Assertion", "Sanitizer"})
    EXPECT_EQ(errors.find(bad), std::string::npos) << errors;
}

// Plays the user's part from inside the loop: P on the title, then hands off until the game is
// over and the title is back, then quits. Gives up after 30000 steps.
class Director : public Object {
 public:
  Director() {
    registerInterest(STEP_EVENT);
    setSolidness(SPECTRAL);
  }
  int eventHandler(const Event* event) override {
    if (event->getType() != STEP_EVENT) return 0;
    EventKeyboard p;
    p.setKey(KeyCode::P);
    p.setAction(KeyAction::PRESSED);
    if (++steps == 5) InputManager::getInstance().onEvent(&p);
    const bool over = !WorldManager::getInstance().objectsOfType("GameOver").isEmpty();
    saw_game_over = saw_game_over || over;
    if ((saw_game_over && !over) || steps >= 30000) GameManager::getInstance().setGameOver(true);
    return 1;
  }
  int steps = 0;
  bool saw_game_over = false;
};

using HeadlessRun = EngineTest;

// As the program's entry does it: splash, resources, title, one game to its end, game over, the
// title again; the shut-down leaves nothing behind.
TEST_F(HeadlessRun, PlaysOneGameToTheEndAndShutsDownCleanly) {
  writeFile("tx-config.txt", "headless:true,\nframe_time:2,\nrandom_seed:7,\n");
  GameManager& game_manager = GameManager::getInstance();
  ASSERT_EQ(game_manager.startUp(), 0);
  LogManager::getInstance().setFlush(true);
  splash();
  loadResources();
  new GameStart();
  auto* director = new Director();
  game_manager.run();
  EXPECT_TRUE(director->saw_game_over) << "steps: " << director->steps;
  game_manager.shutDown();
  EXPECT_EQ(WorldManager::getInstance().getAllObjects(true).getCount(), 0);
  EXPECT_EQ(logMessages().back(), "** Game engine stopped **");
}

}  // namespace
}  // namespace tx::test
