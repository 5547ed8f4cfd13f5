#include "tolvex/display/FrameCapture.h"

#include <sys/stat.h>

#include <cstdlib>
#include <sstream>
#include <utility>

#include "DisplayFixture.h"
#include "tolvex/core/GameManager.h"

namespace tx::test {
namespace {

// Runs the headless engine through its game manager, which completes one frame per step and
// opens the log itself.
class FrameCaptureTest : public DisplayTest {
 protected:
  void SetUp() override { EngineTest::SetUp(); }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    unsetenv("TOLVEX_CAPTURE");
    EngineTest::TearDown();
  }
  void start(const std::string& settings) {
    writeFile("tx-config.txt", "headless:true,frame_time:0,\n" + settings);
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
  }
  // Steps the game `steps` times, drawing before each step the letter 'a' + its step number.
  static void play(int steps) {
    for (int i = 0; i < steps; i++) {
      DisplayManager::getInstance().drawCharacter(Vector(static_cast<float>(i), 1.0f),
                                                  static_cast<char>('a' + i), RED);
      GameManager::getInstance().step();
    }
  }
};

// What a capture holds, frame by frame, is checked against a recorded game by the program's
// end-to-end replay test.
TEST_F(FrameCaptureTest, EnvironmentTakesThePlaceOfTheConfiguredFile) {
  setenv("TOLVEX_CAPTURE", path("from-environment.txt").c_str(), 1);
  start("capture_frames:" + path("configured.txt") + ",");
  play(2);
  std::istringstream capture(readFile(path("from-environment.txt")));
  EXPECT_EQ(FrameCapture::readFrames(capture).size(), 2u);
  struct stat status {};
  EXPECT_NE(stat(path("configured.txt").c_str(), &status), 0);
}

// A file that cannot be opened, or that refuses a write (no space left on /dev/full).
TEST_F(FrameCaptureTest, UnwritablePathLogsOneErrorAndTheGameGoesOn) {
  const std::pair<std::string, std::string> cases[] = {
      {path("no-such-dir/frames.txt"),
       "FrameCapture::open(): Error! Unable to open capture file '" +
           path("no-such-dir/frames.txt") + "'."},
      {dir, "FrameCapture::open(): Error! Unable to open capture file '" + dir + "'."},
      {"/dev/full",
       "FrameCapture::frameCompleted(): Error! Unable to write to capture file "
       "'/dev/full'. Capture stopped."}};
  for (const auto& [unwritable, error] : cases) {
    SCOPED_TRACE(unwritable);
    start("capture_frames:" + unwritable + ",");
    play(3);
    EXPECT_EQ(DisplayManager::getInstance().getCells().at(2, 1).ch, 'c') << "frames go on";
    GameManager::getInstance().shutDown();
    EXPECT_EQ(logCount(error), 1);
    EXPECT_EQ(logText().find("Error"), logText().rfind("Error")) << "one error line";
  }
}

TEST_F(FrameCaptureTest, ReadingStopsAtTheFirstLineOfAFrameThatIsNotWhole) {
  CellGrid grid(3, 2, sf::Color::Black);
  grid.draw(Vector(1.0f, 0.0f), 'x', sf::Color::Cyan);
  const std::string frame = FrameCapture::format(FrameCapture::capture(7, 33, grid));
  ASSERT_EQ(frame, "step:7,columns:3,rows:2,frame_time:33,background:k,\n x \n   \n.c.\n...\n");
  const std::string two = frame + frame;
  // Each damage and the line reading stops at: frames of 5 lines, the damage in the second.
  const struct {
    std::string text;
    int bad_line;
  } cases[] = {{two, 0},
               {two.substr(0, two.size() - 2), 10},  // the last line cut short
               {two.substr(0, two.size() - 4), 10},  // the last line missing
               {frame + "step:8,columns:3,rows:2,frame_time:33,background:x,\n", 6},
               {frame + "step:8,columns:3,rows:2,frame_time:33,background:k\n", 6},
               {frame + "step:8,columns:3, rows:2,frame_time:33,background:k,\n", 6},
               {frame + "step:8,columns:0,rows:2,frame_time:33,background:k,\n", 6},
               {frame + frame.substr(0, 53) + "\x01" + frame.substr(54), 7},
               {frame + frame.substr(0, 61) + "Z" + frame.substr(62), 9},
               {frame + "\n" + frame, 6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::istringstream in(c.text);
    int bad_line = -1;
    const std::vector<CapturedFrame> frames = FrameCapture::readFrames(in, &bad_line);
    EXPECT_EQ(bad_line, c.bad_line);
    ASSERT_EQ(frames.size(), c.bad_line == 0 ? 2u : 1u);
    EXPECT_EQ(FrameCapture::format(frames[0]), frame);
  }
}

TEST_F(FrameCaptureTest, PictureShowsEachCharacterInItsColourInItsCell) {
  CellGrid grid(80, 24, sf::Color::Black);
  std::string capture = FrameCapture::format(FrameCapture::capture(3, 33, grid));
  grid.draw(Vector(2.0f, 1.0f), 'X', sf::Color::Red);
  grid.draw(Vector(77.0f, 23.0f), '#', sf::Color::Green);
  capture += FrameCapture::format(FrameCapture::capture(5, 33, grid));
  writeFile("frames.txt", capture);
  const std::string frames =
      std::string(TOLVEX_FRAMES_BINARY) + " --font " + TOLVEX_SOURCE_DIR + "/tx-font.ttf --png ";
  ASSERT_EQ(std::system((frames + "5 " + path("frames.txt") + " " + path("5.png")).c_str()), 0);
  sf::Image picture;
  ASSERT_TRUE(picture.loadFromFile(path("5.png")));
  ASSERT_EQ(picture.getSize(), sf::Vector2u(1024, 768));
  const int red = countColor(picture, 0, 0, 1024, 768, sf::Color::Red);
  EXPECT_GT(red, 20);
  EXPECT_EQ(countColor(picture, 23, 32, 42, 72, sf::Color::Red), red);
  const int green = countColor(picture, 0, 0, 1024, 768, sf::Color::Green);
  EXPECT_GT(green, 20);
  EXPECT_EQ(countColor(picture, 982, 736, 1004, 768, sf::Color::Green), green);
  EXPECT_NE(
      std::system(
          (frames + "4 " + path("frames.txt") + " " + path("4.png") + " 2>/dev/null").c_str()),
      0)
      << "no frame of step 4";
}

}  // namespace
}  // namespace tx::test
