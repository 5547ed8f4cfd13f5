#include "core/SplashScreen.h"

#include <X11/keysym.h>

#include "CoreTest.h"
#include "core/ObjectListIterator.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

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

// The name slides in from beyond the right edge until step 14; the figure is called up on step
// 14, rises until step 44 and rests from step 59; on step 90 the loop ends and nothing is left.
TEST_F(SplashTest, RunsNinetyStepsThenEndsTheLoopAndLeavesNothing) {
  EXPECT_EQ(splash(), 0);
  ASSERT_EQ(shots.size(), 90u);
  EXPECT_TRUE(!seen("Splash").present && !seen("SplashTolvex").present);
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
  // The figure rises from six rows below the view to the row under the name.
  const Vector name = shots[15].name.position;
  EXPECT_FLOAT_EQ(shots[15].figure.position.getX(), name.getX() + 24.0f);
  EXPECT_FLOAT_EQ(shots[15].figure.position.getY(), 30.0f - (29.0f - name.getY()) / 30.0f);
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
  }
  shots.clear();
  act_on_step = -1;
  end_on_step = 100;
  GameManager::getInstance().run();
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 101);
  for (const Snapshot& shot : shots) EXPECT_FALSE(shot.name.present || shot.figure.present);
}

}  // namespace
}  // namespace tx::test
