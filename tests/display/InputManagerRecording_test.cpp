// The input manager writing what it delivers to a recording, and delivering a recording in place
// of the window, headless, through the game manager's steps.
#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/InputManager.h"
#include "tolvex/world/Object.h"

namespace tx::test {
namespace {

const char* const RECORDED_HEADER =
    "tolvex-input-recording 1\nengine_version 4.16\nframe_time 7\ncells 80 24\n"
    "random_seed 4242\nconfig frame_time:7,\n";

// Writes every keyboard and mouse event it receives as one line, with the step it came in.
class Listener : public Object {
 public:
  Listener() {
    registerInterest(KEYBOARD_EVENT);
    registerInterest(MOUSE_EVENT);
  }
  int eventHandler(const Event* event) override {
    std::string line = std::to_string(GameManager::getInstance().getStepCount());
    if (const auto* k = dynamic_cast<const EventKeyboard*>(event))
      line += " key " + std::to_string(static_cast<int>(k->getKey())) + " " +
              std::to_string(static_cast<int>(k->getAction()));
    if (const auto* m = dynamic_cast<const EventMouse*>(event))
      line += " mouse " + std::to_string(static_cast<int>(m->getAction())) + " " +
              std::to_string(static_cast<int>(m->getButton()));
    heard.push_back(line);
    return 1;
  }
  std::vector<std::string> heard;
};

class InputManagerRecording : public EngineTest {
 protected:
  // Every log line is flushed, so that the log reads back at once, start-up's too.
  void SetUp() override {
    EngineTest::SetUp();
    LogManager::getInstance().setFlush(true);
  }
  // Starts every manager headless with the configuration lines given.
  void startEngine(const std::string& config) {
    writeFile("tx-config.txt", "headless:true,\nframe_time:0,\n" + config);
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    EngineTest::TearDown();
  }
  // A recording with the test header and these lines after it.
  std::string recorded(const std::string& lines) {
    return writeFile("game.rec", std::string(RECORDED_HEADER) + lines);
  }
  static void step(int count = 1) {
    for (int i = 0; i < count; ++i) GameManager::getInstance().step();
  }
  static InputManager& input() { return InputManager::getInstance(); }
};

TEST_F(InputManagerRecording, RecordingHoldsTheHeaderAndEveryDeliveredEventAtItsStep) {
  setenv("TOLVEX_RECORD", path("game.rec").c_str(), 1);
  startEngine("random_seed:77,\n");
  auto* listener = new Listener;
  step();
  input().queueInput(InputEvent::keyboard(KeyCode::A, KeyAction::PRESSED));
  input().queueInput(InputEvent::mouse(MouseAction::CLICKED, MouseButton::LEFT, Vector(2.5f, 3)));
  step(2);
  input().queueInput(InputEvent::close());
  step();
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  EXPECT_EQ(listener->heard, (std::vector<std::string>{"1 key 36 0", "1 mouse 0 0"}));
  GameManager::getInstance().shutDown();

  EXPECT_TRUE(
      logHas("InputManager::startRecording(): Recording input to '" + path("game.rec") + "'."));
  EXPECT_EQ(readFile(path("game.rec")),
            "tolvex-input-recording 1\nengine_version 4.16\nframe_time 0\ncells 80 24\n"
            "random_seed 77\nconfig headless:true,frame_time:0,random_seed:77,\n"
            "1 key 36 pressed\n1 mouse clicked left 2.5 3\n3 close\nend 4\n");
}

TEST_F(InputManagerRecording, UnwritableRecordingIsLoggedAndTheGameGoesOn) {
  startEngine("record_input:" + dir + ",\n");
  EXPECT_TRUE(logHas("InputManager::startRecording(): Error! cannot record to '" + dir +
                     "': the file cannot be written."));
  EXPECT_FALSE(input().isRecording());
  step(3);
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 3);
}

TEST_F(InputManagerRecording, ReplayDeliversEventsAtTheirStepsWithTheRecordedSeedAndFrameTime) {
  const std::string file =
      recorded("1 key 36 pressed\n1 key 36 held\n3 mouse clicked right 1 2\nend 5\n");
  startEngine("random_seed:1,\nreplay_input:" + file + ",\n");
  const int first_random = std::rand();
  std::srand(4242);
  EXPECT_EQ(first_random, std::rand());
  EXPECT_EQ(GameManager::getInstance().getFrameTime(), 7);
  auto* listener = new Listener;
  input().queueInput(InputEvent::keyboard(KeyCode::B, KeyAction::PRESSED));
  step(4);
  EXPECT_EQ(listener->heard, (std::vector<std::string>{"1 key 36 0", "1 key 36 2", "3 mouse 0 1"}))
      << "queued input is dropped while replaying";
  EXPECT_FALSE(GameManager::getInstance().getGameOver());
  step();
  EXPECT_TRUE(GameManager::getInstance().getGameOver()) << "five steps recorded, five replayed";
  const std::string ended =
      "InputManager::getInput(): End of recording '" + file + "' at step 5. Game over.";
  EXPECT_TRUE(logHas(ended));
  GameManager::getInstance().setGameOver(false);
  step();
  EXPECT_TRUE(GameManager::getInstance().getGameOver()) << "every later step ends the game too";
  EXPECT_EQ(logCount(ended), 1);
}

TEST_F(InputManagerRecording, ReplayStopsAtTheFirstBadLineWithItsNumber) {
  const std::string file = recorded("1 key 36 pressed\n4 key 36 pres\n6 key 36 held\nend 9\n");
  startEngine("replay_input:" + file + ",\n");
  auto* listener = new Listener;
  step(2);
  EXPECT_EQ(listener->heard, std::vector<std::string>{"1 key 36 0"});
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  EXPECT_TRUE(logHas("InputManager::getInput(): Error! recording '" + file +
                     "' line 8: not an input event. Replay stopped."));
}

TEST_F(InputManagerRecording, RecordingOfAnotherEngineVersionIsRefused) {
  std::string text = RECORDED_HEADER;
  const std::string file = writeFile("old.rec", text.replace(text.find("4.16"), 4, "4.15"));
  setenv("TOLVEX_REPLAY", file.c_str(), 1);
  writeFile("tx-config.txt", "headless:true,\n");
  EXPECT_EQ(GameManager::getInstance().startUp(), -1);
  EXPECT_TRUE(logHas("InputManager::startReplay(): Error! '" + file +
                     "' was recorded by engine version 4.15, this is 4.16. No replay."));
  EXPECT_FALSE(input().isReplaying());
}

TEST_F(InputManagerRecording, RecordingOfAnotherDisplaySizeIsRefused) {
  setenv("TOLVEX_REPLAY", recorded("end 3\n").c_str(), 1);
  writeFile("tx-config.txt", "headless:true,\nwindow_vertical_chars:30,\n");
  EXPECT_EQ(GameManager::getInstance().startUp(), -1);
  EXPECT_TRUE(logHas("InputManager::startReplay(): Error! '" + path("game.rec") +
                     "' was recorded on 80x24 cells, this display has 80x30. No replay."));
}

}  // namespace
}  // namespace tx::test
