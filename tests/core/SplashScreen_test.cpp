#include "tolvex/core/SplashScreen.h"

#include <X11/keysym.h>

#include "CoreTest.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {
namespace {

const Object* find(const std::string& type) {
  const ObjectList list = WorldManager::getInstance().objectsOfType(type);
  return ObjectListIterator(&list).currentObject();
}

using SplashTest = WindowTest;

TEST(SplashStartTest, RefusesToRunBeforeTheGameManagerStarts) { EXPECT_EQ(splash(), -1); }

TEST_F(SplashTest, EndsTheLoopAfterNinetyStepsOrOnTheStepOfAKeyOrCloseAndLeavesNothing) {
  // Before each splash step: whether the name moves, the figure's sprite and whether it rises.
  std::vector<std::string> steps;
  int act_on_step = -1;
  new Stepper([&](int step) {
    const Object *name = find("Splash"), *figure = find("SplashTolvex");
    steps.push_back(std::to_string(name != nullptr && name->getSpeed() > 0.0f) + " " +
                    (figure == nullptr ? "" : figure->getAnimation().getName()) +
                    (figure != nullptr && figure->getSpeed() > 0.0f ? " rising" : ""));
    if (step == act_on_step) step < 30 ? tap(input, XK_a) : input.requestClose(window);
  });
  EXPECT_EQ(splash(), 0);
  std::vector<std::string> expected(15, "1 ");
  expected.resize(45, "0 splash-tolvex rising");
  expected.resize(60, "0 splash-tolvex");
  expected.resize(90, "0 splash-tolvex-rest");
  EXPECT_EQ(steps, expected);
  for (const int step : {5, 20, 30}) {
    act_on_step = step;
    EXPECT_EQ(splash(), 0);
    EXPECT_EQ(GameManager::getInstance().getStepCount(), step + 1) << step;
  }
  EXPECT_TRUE(find("Splash") == nullptr && find("SplashTolvex") == nullptr);
}

}  // namespace
}  // namespace tx::test
