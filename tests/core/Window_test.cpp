// The splash screen and the pause object, driven through the game's window.
#include <X11/keysym.h>

#include <chrono>
#include <thread>

#include <SFML/Graphics/RenderWindow.hpp>

#include "CoreTest.h"
#include "XInput.h"
#include "core/ObjectListIterator.h"
#include "core/Pause.h"
#include "core/SplashScreen.h"
#include "display/DisplayManager.h"
#include "display/EventKeyboard.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

using namespace std::chrono_literals;

// A key pressed and released, as far as the X server is concerned.
inline void tap(XInput& keys, unsigned long keysym) {
  keys.pressKey(keysym);
  keys.releaseKey(keysym);
  keys.settle();
}

// Starts the game with its window, focused for key presses; stops it afterwards.
class WindowTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    window = DisplayManager::getInstance().getWindow()->getSystemHandle();
    ASSERT_TRUE(input.focus(window));
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    EngineTest::TearDown();
  }
  XInput input;
  unsigned long window = 0;
};

// One splash object (the first of its type) as it was at the start of a step.
struct Seen {
  bool present = false;
  Vector position;
  float speed = 0.0f;
  int frame = 0;
  std::string sprite;
};
Seen seen(const std::string& type) {
  const ObjectList list = WorldManager::getInstance().objectsOfType(type);
  const Object* o = ObjectListIterator(&list).currentObject();
  if (o == nullptr) return {};
  return {true, o->getPosition(), o->getSpeed(), o->getAnimation().getIndex(),
          o->getAnimation().getName()};
}
struct Snapshot {
  Seen name, figure;
};

class SplashTest : public WindowTest {
 protected:
  // The watcher is registered before the splash objects exist, so it sees every step first.
  void SetUp() override {
    WindowTest::SetUp();
    new Stepper([this](int step) {
      shots.push_back({seen("Splash"), seen("SplashTolvex")});
      if (step == act_on_step) action();
      if (step == end_on_step) GameManager::getInstance().setGameOver(true);
    });
  }
  std::vector<Snapshot> shots;
  int act_on_step = -1, end_on_step = -1;
  std::function<void()> action;
};

TEST(SplashStartTest, RefusesToRunBeforeTheGameManagerStarts) { EXPECT_EQ(splash(), -1); }

// The name slides in until step 14; the figure is called up on step 14, stops rising on step
// 44 and rests from step 59; on step 90 the loop ends and nothing is left.
TEST_F(SplashTest, RunsNinetyStepsThenEndsTheLoopAndLeavesNothing) {
  EXPECT_EQ(splash(), 0);
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 90);
  ASSERT_EQ(shots.size(), 90u);
  EXPECT_TRUE(!seen("Splash").present && !seen("SplashTolvex").present);
  // The name starts beyond the right edge, centred vertically.
  EXPECT_EQ(shots[0].name.position, Vector(80.0f + 23.5f, 12.0f));
  EXPECT_FLOAT_EQ(shots[0].name.speed, 74.5f / 16.0f);
  for (int step = 0; step < 90; step++) {
    const Snapshot& shot = shots[static_cast<size_t>(step)];
    SCOPED_TRACE(step);
    EXPECT_TRUE(shot.name.present);
    EXPECT_EQ(shot.name.speed > 0.0f, step <= 14);
    EXPECT_EQ(shot.name.frame, step <= 14 ? 0 : 1);
    EXPECT_EQ(shot.figure.present, step >= 15);
    if (!shot.figure.present) continue;
    EXPECT_EQ(shot.figure.speed > 0.0f, step <= 44);
    EXPECT_EQ(shot.figure.sprite, step <= 59 ? "splash-tolvex" : "splash-tolvex-rest");
  }
  const Vector name = shots[15].name.position;
  EXPECT_FLOAT_EQ(name.getX(), 103.5f - 14.0f * 74.5f / 16.0f);
  // Six rows below the view, rising a thirtieth of the way each step from the step it came.
  const float rise = (24.0f + 6.0f - (name.getY() + 1.0f)) / 30.0f;
  EXPECT_FLOAT_EQ(shots[15].figure.position.getX(), name.getX() + 24.0f);
  EXPECT_FLOAT_EQ(shots[15].figure.position.getY(), 30.0f - rise);
  EXPECT_NEAR(shots[45].figure.position.getY(), name.getY() + 1.0f, 1e-3f);
  EXPECT_FLOAT_EQ(shots[60].figure.position.getX(), name.getX() + 23.0f);
  EXPECT_EQ(shots[89].figure.position, shots[60].figure.position);
}

// A key press or closing the window ends it on that step (a key within the first fifteen
// steps before the figure is called up); then nothing is left to show up in or end the game.
TEST_F(SplashTest, KeyPressOrClosingTheWindowEndsItOnThatStep) {
  for (const int step : {5, 20, 30}) {
    SCOPED_TRACE(step);
    shots.clear();
    act_on_step = step;
    action = [this, step] {
      step < 30 ? tap(input, XK_a) : input.requestClose(window);
      input.settle();
    };
    EXPECT_EQ(splash(), 0);
    EXPECT_EQ(GameManager::getInstance().getStepCount(), step + 1);
    EXPECT_EQ(shots.back().figure.present, step >= 15);
    EXPECT_TRUE(!seen("Splash").present && !seen("SplashTolvex").present);
  }
  shots.clear();
  act_on_step = -1;
  end_on_step = 100;
  GameManager::getInstance().run();
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 101);
  for (const Snapshot& shot : shots) EXPECT_FALSE(shot.name.present || shot.figure.present);
}

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
