#include "tolvex/core/Pause.h"

#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "CoreTest.h"
#include "tolvex/display/EventKeyboard.h"

namespace tx::test {
namespace {

// Records the key presses that reach the game's objects.
struct KeyLog : Object {
  KeyLog() { registerInterest(KEYBOARD_EVENT); }
  int eventHandler(const Event* event) override {
    const auto* k = dynamic_cast<const EventKeyboard*>(event);
    if (k != nullptr && k->getAction() == KeyAction::PRESSED) pressed.push_back(k->getKey());
    return 1;
  }
  std::vector<KeyCode> pressed;
};

// Frame time 100 ms, with steps that do not sleep: a step overruns only by its work.
class PauseTest : public WindowTest {
 protected:
  void SetUp() override {
    config = "frame_time:100,\n";
    WindowTest::SetUp();
    LogManager::getInstance().setLogLevel(1);
    pause = new Pause(KeyCode::P);
  }
  Pause* pause = nullptr;
};

// Letting go of the pause key does not resume; the time paused is not the step's work.
TEST_F(PauseTest, PauseKeyHoldsTheStepUntilAnotherKeyIsPressed) {
  const auto* keys = new KeyLog;
  tap(input, XK_q);
  GameManager::getInstance().step();
  EXPECT_FALSE(logHas("Pause::eventHandler(): Game paused.")) << "another key paused";
  tap(input, XK_p);
  std::atomic<bool> other_sent{false};
  std::atomic<int> lit{0};
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    XInput keyboard;
    int width = 0, height = 0;  // nothing here draws but the pause
    for (unsigned long pixel : keyboard.pixels(window, width, height)) lit += pixel != 0 ? 1 : 0;
    other_sent = true;
    tap(keyboard, XK_a);
  });
  GameManager::getInstance().step();
  EXPECT_TRUE(other_sent) << "the step went on before another key was pressed";
  user.join();
  EXPECT_TRUE(logHas("Pause::eventHandler(): Game resumed."));
  EXPECT_GT(lit, 0) << "no notice";
  EXPECT_EQ(logText().find("Can't keep up!"), std::string::npos);
  EXPECT_EQ(keys->pressed, (std::vector<KeyCode>{KeyCode::Q, KeyCode::P})) << "taken while paused";
}

// Once the game is ending, the pause key no longer pauses.
TEST_F(PauseTest, ClosingTheWindowEndsThePauseAndTheGame) {
  tap(input, XK_p);
  input.requestClose(window), input.settle();
  GameManager::getInstance().step();
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  EXPECT_TRUE(logHas("Pause::eventHandler(): Window close event. Setting game over."));
  EventKeyboard key;
  key.setKey(KeyCode::P), key.setAction(KeyAction::PRESSED);
  EXPECT_EQ(pause->eventHandler(&key), 0);
}

TEST_F(PauseTest, DestroyingTheWindowEndsThePauseAndTheGame) {
  tap(input, XK_p);
  input.destroyWindow(window);
  GameManager::getInstance().step();
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  EXPECT_TRUE(
      logHas("InputManager::getInput(): Window destroyed by the X server or another "
             "client. Setting game over."));
}

// So that the loop can end the game in order.
TEST_F(PauseTest, StopSignalEndsThePause) {
  tap(input, XK_p);
  std::atomic<bool> resumed{false}, rescued{false};
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::raise(SIGTERM);
    if (waitFor([&] { return resumed.load(); }, 3)) return;
    rescued = true;  // a key press, so that a pause that ignores the signal still ends
    XInput keyboard;
    tap(keyboard, XK_a);
  });
  GameManager::getInstance().step();
  resumed = true;
  user.join();
  EXPECT_FALSE(rescued) << "the pause waited for a key after the stop signal";
}

}  // namespace
}  // namespace tx::test
