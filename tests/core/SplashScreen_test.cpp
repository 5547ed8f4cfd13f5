#include "core/SplashScreen.h"

#include <X11/keysym.h>

#include "CoreTest.h"
#include "core/ObjectListIterator.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

// The first object of the type, or null.
const Object* find(const std::string& type) {
  const ObjectList list = WorldManager::getInstance().objectsOfType(type);
  return ObjectListIterator(&list).currentObject();
}

// What the two splash objects were at the start of a step: the name sliding in, then the figure.
struct Shot {
  Vector name;
  float name_speed = 0.0f;
  bool figure = false, figure_moving = false;
  std::string figure_sprite;
};

class SplashTest : public WindowTest {
 protected:
  // The watcher is registered before the splash objects exist, so it sees every step first.
  void SetUp() override {
    WindowTest::SetUp();
    new Stepper([this](int step) {
      const Object *name = find("Splash"), *figure = find("SplashTolvex");
      Shot shot;
      if (name != nullptr) shot.name = name->getPosition(), shot.name_speed = name->getSpeed();
      if (figure != nullptr)
        shot.figure = true, shot.figure_moving = figure->getSpeed() > 0.0f,
        shot.figure_sprite = figure->getAnimation().getName();
      shots.push_back(shot);
      if (step == act_on_step) action();
    });
  }
  std::vector<Shot> shots;
  int act_on_step = -1;
  std::function<void()> action;
};

TEST(SplashStartTest, RefusesToRunBeforeTheGameManagerStarts) { EXPECT_EQ(splash(), -1); }

// The name slides in from beyond the right edge until step 14; the figure comes on step 15,
// rises until step 44 and rests from step 60; on step 90 the loop ends and nothing is left.
TEST_F(SplashTest, RunsNinetyStepsThenEndsTheLoopAndLeavesNothing) {
  EXPECT_EQ(splash(), 0);
  ASSERT_EQ(shots.size(), 90u);
  EXPECT_TRUE(find("Splash") == nullptr && find("SplashTolvex") == nullptr);
  EXPECT_EQ(shots[0].name, Vector(80.0f + 23.5f, 12.0f));
  for (int step = 0; step < 90; step++) {
    const Shot& shot = shots[static_cast<size_t>(step)];
    SCOPED_TRACE(step);
    EXPECT_EQ(shot.name_speed > 0.0f, step <= 14);
    EXPECT_EQ(shot.figure, step >= 15);
    EXPECT_EQ(shot.figure_moving, step >= 15 && step <= 44);
    EXPECT_EQ(shot.figure_sprite, step < 15    ? ""
                                  : step <= 59 ? "splash-tolvex"
                                               : "splash-tolvex-rest");
  }
}

// A key press or closing the window ends it on that step (a key before step 15 before the
// figure comes); nothing is left to show up in the game after it.
TEST_F(SplashTest, KeyPressOrClosingTheWindowEndsItOnThatStep) {
  for (const int step : {5, 20, 30}) {
    SCOPED_TRACE(step);
    shots.clear();
    act_on_step = step;
    action = [this, step] { step < 30 ? tap(input, XK_a) : input.requestClose(window); };
    EXPECT_EQ(splash(), 0);
    EXPECT_EQ(GameManager::getInstance().getStepCount(), step + 1);
    EXPECT_EQ(shots.back().figure, step >= 15);
  }
  EXPECT_TRUE(find("Splash") == nullptr && find("SplashTolvex") == nullptr);
}

}  // namespace
}  // namespace tx::test
