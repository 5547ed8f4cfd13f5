#include "tolvex/core/SplashScreen.h"

#include "CoreTest.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {
namespace {

// The first object of the type, or null.
const Object* find(const std::string& type) {
  const ObjectList list = WorldManager::getInstance().objectsOfType(type);
  return ObjectListIterator(&list).currentObject();
}

// Before every step of the splash (the watcher is made before the splash objects): whether the
// name moves, and the figure's sprite and whether it moves ("" when there is no figure yet).
class SplashTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    new Stepper([this](int) {
      const Object *name = find("Splash"), *figure = find("SplashTolvex");
      steps.push_back(std::to_string(name != nullptr && name->getSpeed() > 0.0f) + " " +
                      (figure == nullptr ? "" : figure->getAnimation().getName()) +
                      (figure != nullptr && figure->getSpeed() > 0.0f ? " rising" : ""));
    });
  }
  std::vector<std::string> steps;
};

TEST(SplashStartTest, RefusesToRunBeforeTheGameManagerStarts) { EXPECT_EQ(splash(), -1); }

// The name slides in until step 14; the figure comes on step 15, rises until step 44 and rests
// from step 60; after step 89 the loop ends and nothing is left.
TEST_F(SplashTest, RunsNinetyStepsThenEndsTheLoopAndLeavesNothing) {
  EXPECT_EQ(splash(), 0);
  ASSERT_EQ(steps.size(), 90u);
  for (int step = 0; step < 90; step++)
    EXPECT_EQ(steps[static_cast<size_t>(step)], std::string(step <= 14 ? "1 " : "0 ") +
                                                    (step < 15    ? ""
                                                     : step <= 59 ? "splash-tolvex"
                                                                  : "splash-tolvex-rest") +
                                                    (step >= 15 && step <= 44 ? " rising" : ""))
        << "step " << step;
  EXPECT_TRUE(find("Splash") == nullptr && find("SplashTolvex") == nullptr);
}

}  // namespace
}  // namespace tx::test
