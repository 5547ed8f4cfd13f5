#include "core/Pause.h"

#include <X11/keysym.h>

#include <chrono>
#include <thread>

#include "CoreTest.h"
#include "display/EventKeyboard.h"

namespace tx::test {
namespace {

using namespace std::chrono_literals;

// A pause object that tells the key-pressing thread when the game is frozen inside it.
class WatchedPause : public Pause {
 public:
  explicit WatchedPause(KeyCode key) : Pause(key) {}
  int eventHandler(const Event* event) override {
    inside = event->getType() == KEYBOARD_EVENT;  // only the pause key keeps it inside
    const int result = Pause::eventHandler(event);
    inside = false;
    return result;
  }
  std::atomic<bool> inside{false};
};

bool waitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 1000; i++, std::this_thread::sleep_for(10ms))
    if (condition()) return true;
  return false;
}

class PauseTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    pause = new WatchedPause(KeyCode::P);
    counter = new Stepper([this](int) {
      if (ending) GameManager::getInstance().setGameOver(true);
    });
  }
  // Runs the loop on this thread while driver presses keys from another, as a user would.
  void runWith(const std::function<void(XInput&)>& driver) {
    std::thread user([&] {
      XInput keys;
      driver(keys);
      ending = true;  // whatever happened, let the loop go so the test ends
      keys.releaseKey(XK_p);
      for (int i = 0; i < 500 && !finished; i++, std::this_thread::sleep_for(20ms))
        tap(keys, XK_Escape);
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
      const int steps = counter->count;
      std::this_thread::sleep_for(300ms);
      if (pause->inside && counter->count == steps) return steps;
    }
    return -1;
  }
  WatchedPause* pause = nullptr;
  Stepper* counter = nullptr;
  std::atomic<bool> ending{false}, finished{false};
};

// Other keys do not pause; the pause key freezes the loop, letting go of it is no key press,
// and another key resumes it. Closing the window while paused ends the pause and the game
// with the iteration in which the pause was taken; once the game is ending, P does not pause.
TEST_F(PauseTest, LoopStandsStillUntilAnotherKeyOrTheWindowCloses) {
  EXPECT_TRUE(logHas("Pause::Pause(): Pause enabled.  Press any other key to resume."));
  int paused_again_at = -1;
  runWith([&](XInput& keys) {
    ASSERT_TRUE(waitFor([&] { return counter->count >= 3; }));
    tap(keys, XK_q);
    const int before = counter->count;
    ASSERT_TRUE(waitFor([&] { return counter->count >= before + 5; })) << "q paused";
    keys.pressKey(XK_p);
    const int paused_at = waitForLastingPause();
    ASSERT_GE(paused_at, 0);
    keys.releaseKey(XK_p);
    keys.settle();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(counter->count, paused_at);
    EXPECT_TRUE(pause->inside);
    tap(keys, XK_a);
    ASSERT_TRUE(waitFor([&] { return !pause->inside && counter->count >= paused_at + 5; }));
    keys.pressKey(XK_p);
    paused_again_at = waitForLastingPause();
    ASSERT_GE(paused_again_at, 0);
    keys.requestClose(window);
    keys.settle();
    const bool ended = waitFor([&] { return finished.load(); });
    keys.releaseKey(XK_p);
    ASSERT_TRUE(ended);
  });
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  EXPECT_EQ(counter->count, paused_again_at);
  EventKeyboard key;
  key.setKey(KeyCode::P);
  key.setAction(KeyAction::HELD);
  EXPECT_EQ(pause->eventHandler(&key), 0);
}

}  // namespace
}  // namespace tx::test
