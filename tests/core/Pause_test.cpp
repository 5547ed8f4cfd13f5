#include "core/Pause.h"

#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "TestSupport.h"
#include "XInput.h"
#include "core/EventStep.h"
#include "core/GameManager.h"
#include "core/LogManager.h"
#include "display/DisplayManager.h"
#include "display/EventKeyboard.h"
#include "display/InputManager.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

// A pause object that tells the key-pressing thread when the game is frozen inside it.
class WatchedPause : public Pause {
 public:
  explicit WatchedPause(KeyCode key) : Pause(key) {}
  int eventHandler(const Event* event) override {
    const auto* keyboard = dynamic_cast<const EventKeyboard*>(event);
    const bool pausing = keyboard != nullptr && static_cast<int>(keyboard->getKey()) == getPauseKey();
    if (keyboard != nullptr) keys_seen++;
    if (pausing) paused_count++, inside = true;
    const int result = Pause::eventHandler(event);
    inside = false;
    return result;
  }
  std::atomic<bool> inside{false};
  std::atomic<int> paused_count{0};
  std::atomic<int> keys_seen{0};
};

// Counts steps and ends the loop on a given step.
class StepCounter : public Object {
 public:
  StepCounter() {
    setSolidness(SPECTRAL);
    registerInterest(STEP_EVENT);
  }
  int eventHandler(const Event* event) override {
    if (event->getType() != STEP_EVENT) return 0;
    last_step = static_cast<const EventStep*>(event)->getStepCount();
    steps++;
    if (last_step >= end_on_step) GameManager::getInstance().setGameOver(true);
    return 1;
  }
  std::atomic<int> steps{0};
  std::atomic<int> last_step{-1};
  std::atomic<int> end_on_step{100000};
};

bool waitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 1000; i++) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

class PauseTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    window = DisplayManager::getInstance().getWindow()->getSystemHandle();
    XInput focuser;
    ASSERT_TRUE(focuser.focus(window));
    pause = new WatchedPause(KeyCode::P);
    counter = new StepCounter;
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    EngineTest::TearDown();
  }

  // Runs the loop on this thread while driver presses keys from another, as a user would.
  void runWith(const std::function<void(XInput&)>& driver) {
    std::thread user([&] {
      XInput input;
      driver(input);
      // Whatever happened, let the loop go so the test ends.
      counter->end_on_step = 0;
      input.releaseKey(XK_p);
      for (int i = 0; i < 500 && !finished; i++) {
        input.pressKey(XK_Escape);
        input.releaseKey(XK_Escape);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    });
    GameManager::getInstance().run();
    finished = true;
    user.join();
  }

  // A key press can land between the input manager's event drain and its held-key scan: the
  // held key then pauses, the queued press ends that pause at once and the still held key
  // pauses again on the next step. Wait for a pause that lasts, and return the step count then.
  int waitForLastingPause() {
    for (int attempt = 0; attempt < 20; attempt++) {
      if (!waitFor([&] { return pause->inside.load(); })) return -1;
      const int steps = counter->steps;
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      if (pause->inside && counter->steps == steps) return steps;
    }
    return -1;
  }

  unsigned long window = 0;
  WatchedPause* pause = nullptr;
  StepCounter* counter = nullptr;
  std::atomic<bool> finished{false};
};

TEST_F(PauseTest, ConstructionAnnouncesThePause) {
  EXPECT_TRUE(logHas("Pause::Pause(): Pause enabled.  Press any other key to resume."));
  EXPECT_EQ(pause->getType(), "Pause");
  EXPECT_EQ(pause->getSolidness(), SPECTRAL);
  EXPECT_EQ(pause->getPauseKey(), static_cast<int>(KeyCode::P));
}

TEST_F(PauseTest, LoopStandsStillUntilAnotherKeyIsPressed) {
  int steps_when_paused = -1;
  int steps_after_wait = -1;
  bool still_paused_after_release = false;
  runWith([&](XInput& input) {
    ASSERT_TRUE(waitFor([&] { return counter->steps >= 5; }));
    input.pressKey(XK_p);
    steps_when_paused = waitForLastingPause();
    ASSERT_GE(steps_when_paused, 0);
    // Letting go of the pause key is no key press: the game stays frozen.
    input.releaseKey(XK_p);
    input.settle();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    steps_after_wait = counter->steps;
    still_paused_after_release = pause->inside;
    input.pressKey(XK_a);
    input.releaseKey(XK_a);
    input.settle();
    ASSERT_TRUE(waitFor([&] { return !pause->inside && counter->steps >= steps_when_paused + 5; }));
  });
  EXPECT_GT(pause->keys_seen, 0);
  EXPECT_EQ(steps_after_wait, steps_when_paused);
  EXPECT_TRUE(still_paused_after_release);
  EXPECT_GE(pause->paused_count, 1);
  EXPECT_LE(pause->paused_count, 2);
  EXPECT_GE(counter->steps, steps_when_paused + 5);
  EXPECT_FALSE(logHas("Pause::eventHandler(): DisplayManager unexpectedly returned null window!  "
                      "Cannot pause."));
}

TEST_F(PauseTest, OtherKeysDoNotPause) {
  runWith([&](XInput& input) {
    ASSERT_TRUE(waitFor([&] { return counter->steps >= 3; }));
    input.pressKey(XK_q);
    input.releaseKey(XK_q);
    input.settle();
    const int before = counter->steps;
    ASSERT_TRUE(waitFor([&] { return counter->steps >= before + 5; }));
  });
  EXPECT_EQ(pause->paused_count, 0);
}

TEST_F(PauseTest, ClosingTheWindowWhilePausedEndsThePauseAndTheGame) {
  int steps_when_paused = -1;
  runWith([&](XInput& input) {
    ASSERT_TRUE(waitFor([&] { return counter->steps >= 5; }));
    input.pressKey(XK_p);
    steps_when_paused = waitForLastingPause();
    ASSERT_GE(steps_when_paused, 0);
    input.requestClose(window);
    input.settle();
    const bool ended = waitFor([&] { return finished.load(); });
    input.releaseKey(XK_p);
    ASSERT_TRUE(ended);
  });
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  // The loop ends with the iteration in which the pause was taken.
  EXPECT_EQ(counter->steps, steps_when_paused);
}

TEST_F(PauseTest, NoPauseOnceTheGameIsEnding) {
  GameManager::getInstance().setGameOver(true);
  EventKeyboard key;
  key.setKey(KeyCode::P);
  key.setAction(KeyAction::HELD);
  EXPECT_EQ(pause->eventHandler(&key), 0);
  EXPECT_EQ(pause->paused_count, 1);
}

using PauseHeadlessTest = EngineTest;

TEST_F(PauseHeadlessTest, WithoutAWindowThePauseKeyIsReportedAndTheGameGoesOn) {
  writeFile("tx-config.txt", "headless:true,");
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  LogManager::getInstance().setFlush(true);
  Pause* pause = new Pause(KeyCode::F10);
  EventKeyboard other;
  other.setKey(KeyCode::A);
  other.setAction(KeyAction::PRESSED);
  EXPECT_EQ(pause->eventHandler(&other), 1);
  EventKeyboard key;
  key.setKey(KeyCode::F10);
  key.setAction(KeyAction::RELEASED);
  EXPECT_EQ(InputManager::getInstance().onEvent(&key), 1);
  EXPECT_EQ(pause->eventHandler(&key), 0);
  EXPECT_EQ(logCount("Pause::eventHandler(): DisplayManager unexpectedly returned null window!  "
                     "Cannot pause."),
            2);
  EventStep step(0);
  EXPECT_EQ(pause->eventHandler(&step), 0);
  GameManager::getInstance().shutDown();
}

}  // namespace
}  // namespace tx::test
