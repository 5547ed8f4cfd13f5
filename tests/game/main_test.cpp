// The whole program: under X with real keys, and headless replaying a game recorded that way,
// with its data whole or damaged. tools/leak-check runs the first and the replay in the
// sanitizer build to find what is not released.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "GameFixture.h"
#include "XInput.h"
#include "tolvex/display/FrameCapture.h"

#include <X11/keysym.h>

namespace tx::test {
namespace {

// The real program as a child process in the project directory, with the test's log and
// configuration; its standard error goes to stderr.txt.
class ProgramRun : public EngineTest {
 protected:
  void TearDown() override {
    if (child > 0 && kill(child, SIGKILL) == 0) waitpid(child, nullptr, 0);
    EngineTest::TearDown();
  }
  void launch(const std::string& settings, bool with_display) {
    writeFile("tx-config.txt", settings);
    child = fork();
    if (child != 0) return;
    if (!with_display) unsetenv("DISPLAY");
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (chdir(TOLVEX_SOURCE_DIR) != 0 ||
        freopen(path("stderr.txt").c_str(), "w", stderr) == nullptr)
      _exit(127);
    execl(TOLVEX_GAME_BINARY, TOLVEX_GAME_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  // The program's exit status (128 + the signal that killed it), once it has ended; -1 while it
  // runs, unless asked to wait.
  int exitStatus(bool wait = false) {
    int status = 0;
    if (child <= 0 || waitpid(child, &status, wait ? 0 : WNOHANG) != child) return -1;
    child = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  pid_t child = -1;
};

// Without a display the program cannot start; it says why in one line and exits with 1.
TEST_F(ProgramRun, FailedStartUpExitsWithOneAndSaysWhy) {
  launch("", false);
  EXPECT_EQ(exitStatus(true), 1);
  EXPECT_EQ(readFile(path("stderr.txt")),
            "Tolvex: cannot open a window (is DISPLAY set?); see " + logPath() + "\n");
}

// SIGTERM in the middle of the game ends it in order: the closing lines, then exit status 143.
TEST_F(ProgramRun, SigtermEndsTheGameInOrder) {
  launch("headless:true,\n", false);
  ASSERT_TRUE(
      waitFor([this] { return logHas("RM::loadSprite(): Sprite 'powerup4' loaded."); }, 60));
  kill(child, SIGTERM);
  EXPECT_EQ(exitStatus(true), 143);
  EXPECT_TRUE(logHas("GameManager::run(): Signal 15 received: game over."));
  EXPECT_EQ(logMessages().back(), "** Game engine stopped **");
}

// The program on the tests' X display, driven with real keys through XTest.
class GameProgram : public ProgramRun {
 protected:
  void SetUp() override {
    ProgramRun::SetUp();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(input.isOpen());
  }
  // True once the window, found by its title during the splash screen, has the focus.
  bool launchAndFocus() {
    launch("window_title:" + title + ",\n", true);
    return waitFor(
               [this] {
                 return (window = std::stoul("0" + xdotool("search --name '^" + title + "$'"))) !=
                        0;
               },
               60) &&
           input.focus(window);
  }
  // The first word xdotool prints for the command; empty when it prints none.
  static std::string xdotool(const std::string& command) {
    FILE* out = popen(("xdotool " + command + " 2>/dev/null").c_str(), "r");
    char word[64] = "";
    if (out != nullptr && std::fscanf(out, "%63s", word) != 1) word[0] = 0;
    if (out != nullptr) pclose(out);
    return word;
  }
  bool launchAGame() {
    return launchAndFocus() && tapUntil(XK_p, [this] { return logHas("RESET"); });
  }
  // Taps the key until the condition holds, up to six times, while the program runs.
  bool tapUntil(unsigned long keysym, const std::function<bool()>& condition) {
    for (int i = 0; i < 6 && child > 0; ++i) {
      input.focus(window);
      input.pressKey(keysym);
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      input.releaseKey(keysym);
      if (waitFor(condition, 5)) return true;
    }
    return false;
  }
  // True once the program has ended with status 0 after taps of Q.
  bool quitsOnQ() {
    int status = -1;
    return tapUntil(XK_q, [&] { return (status = exitStatus()) != -1; }) && status == 0;
  }

  XInput input;
  const std::string title = "TolvexTest" + std::to_string(getpid());
  unsigned long window = 0;
};

// Splash, a game started and played with real keys until the player falls out of the view, game
// over (red on the screen), and Q, which quits once the title is back: the program shuts down in
// order and exits with 0.
TEST_F(GameProgram, PlaysAGameToItsEndAndQuitsFromTheTitle) {
  ASSERT_TRUE(launchAndFocus());
  ASSERT_TRUE(
      tapUntil(XK_space, [&] { return logHas("RM::loadSprite(): Sprite 'powerup4' loaded."); }));
  ASSERT_TRUE(tapUntil(XK_p, [&] { return logHas("RESET"); })) << logText();
  EXPECT_TRUE(tapUntil(XK_space, [this] { return logHas("0"); })) << "no jump";
  ASSERT_TRUE(waitFor([this] { return logHas("Player Dead."); }, 180)) << logText();
  const auto red = [this] {
    int width = 0, height = 0, count = 0;
    for (unsigned long pixel : input.pixels(window, width, height))
      count += (pixel >> 16 & 255) > 230 && (pixel >> 8 & 255) < 40 && (pixel & 255) < 40;
    return count > 1000;
  };
  EXPECT_TRUE(waitFor(red, 10)) << "no game over screen";
  EXPECT_TRUE(quitsOnQ()) << readFile(path("stderr.txt"));
  EXPECT_EQ(logMessages().back(), "** Game engine stopped **");
  for (const std::string& line : logMessages()) EXPECT_EQ(line.find("Error"), std::string::npos);
  EXPECT_EQ(readFile(path("stderr.txt")).find("Sanitizer"), std::string::npos);
}

// Q in play quits at once, through the orderly shut-down. The game's window is "Skyward".
TEST_F(GameProgram, QInPlayQuitsThroughTheShutDown) {
  ASSERT_TRUE(launchAGame()) << logText();
  EXPECT_EQ(xdotool("getwindowname " + std::to_string(window)), "Skyward");
  EXPECT_TRUE(quitsOnQ());
  EXPECT_EQ(logMessages().back(), "** Game engine stopped **");
}

// A window destroyed by another client ends the game as a close does: shut-down, status 0.
TEST_F(GameProgram, ADestroyedWindowEndsTheGameInOrder) {
  ASSERT_TRUE(launchAGame()) << logText();
  input.destroyWindow(window);
  int status = -1;
  EXPECT_TRUE(waitFor([&] { return (status = exitStatus()) != -1; }, 20));
  EXPECT_EQ(status, 0) << readFile(path("stderr.txt"));
  EXPECT_EQ(logMessages().back(), "** Game engine stopped **");
}

// The sample game, played in a window with real keys and recorded by tools/record-sample,
// replayed by the program headless at full speed.
class SampleReplay : public ProgramRun {
 protected:
  // Replays the sample with the settings added; the program's exit status.
  int replay(const std::string& settings) {
    launch(
        "headless:true,\nreplay_speed:0,\nreplay_input:" + sample("skyward.rec") + ",\n" + settings,
        false);
    return exitStatus(true);
  }
  static std::string sample(const std::string& name) {
    return std::string(TOLVEX_SOURCE_DIR) + "/tests/data/replay/" + name;
  }
  static std::vector<CapturedFrame> frames(const std::string& file_path) {
    std::ifstream in(file_path);
    return FrameCapture::readFrames(in);
  }
  // The log's lines that tell the game, as the sample keeps them.
  std::string gameLines() const {
    const std::string command = std::string(TOLVEX_SOURCE_DIR) + "/tools/game-lines " + logPath() +
                                " > " + path("game.txt");
    return std::system(command.c_str()) == 0 ? readFile(path("game.txt")) : "";
  }
};

// The same screens at the same steps and the same game, line for line: the recorded jumps, the
// fall out of the view, game over, the title again and Q, then the orderly shut-down.
TEST_F(SampleReplay, ShowsTheRecordedScreensAndLogLines) {
  ASSERT_EQ(replay("capture_every:20,\ncapture_frames:" + path("frames.txt") + ",\n"), 0);
  const std::vector<CapturedFrame> recorded = frames(sample("skyward-frames.txt"));
  const std::vector<CapturedFrame> replayed = frames(path("frames.txt"));
  ASSERT_GT(recorded.size(), 20u);
  ASSERT_EQ(replayed.size(), recorded.size());
  for (std::size_t i = 0; i < recorded.size(); ++i)
    EXPECT_TRUE(replayed[i] == recorded[i]) << "frame of step " << recorded[i].step;
  EXPECT_EQ(gameLines(), readFile(sample("skyward-game.txt")));
  EXPECT_TRUE(logHas("Player Dead."));
  EXPECT_EQ(logMessages().back(), "** Game engine stopped **");
}

// With a sprite, a sound and both pieces of music missing, a sprite cut short and a sound that
// is no audio, each file is reported, and the recorded game is played to its end.
TEST_F(SampleReplay, MissingAndDamagedFilesAreReportedAndTheGamePlaysOn) {
  namespace fs = std::filesystem;
  const fs::path data = fs::path(dir) / "game", source(TOLVEX_SOURCE_DIR);
  fs::create_directories(data);
  for (const char* part : {"sprites", "sounds"})
    fs::copy(source / part, data / part, fs::copy_options::recursive);
  for (const char* gone : {"sprites/playerjump.txt", "sounds/jump.wav", "sounds/menuMusic.wav",
                           "sounds/ingameMusic.wav"})
    fs::remove(data / gone);
  fs::resize_file(data / "sprites" / "platform2.txt", 60);
  writeFile("game/sounds/fall.wav", "RIFF, but not really");
  ASSERT_EQ(replay("data_dir:" + data.string() + ",\n"), 0);
  const std::string in = data.string() + "/";
  for (const std::string& line :
       {"RM::loadSprite(): Error! Cannot open file '" + in + "sprites/playerjump.txt'.",
        std::string("RM::loadSprite(): Sprite 'platform2' not loaded."),
        "RM::loadSound(): Error! Cannot load sound from file '" + in + "sounds/jump.wav'.",
        "RM::loadSound(): Error! Cannot load sound from file '" + in + "sounds/fall.wav'.",
        "RM::loadmusic(): Error! Cannot load music from file '" + in + "sounds/menuMusic.wav'.",
        std::string("RM::getSound(): Warning! Sound 'jump' not found."),
        std::string("Player Dead."), std::string("** Game engine stopped **")})
    EXPECT_TRUE(logHas(line)) << line;
}

}  // namespace
}  // namespace tx::test
