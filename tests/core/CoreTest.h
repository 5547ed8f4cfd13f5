#pragma once

#include <functional>

#include <SFML/Graphics/RenderWindow.hpp>

#include "TestSupport.h"
#include "XInput.h"
#include "tolvex/core/EventStep.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/world/Object.h"

namespace tx::test {

// Counts the events it gets and runs the test's action (if any) with each one's step number
// (-1 for other events).
class Listener : public Object {
 public:
  explicit Listener(std::function<void(int)> init_action = {}) : action(std::move(init_action)) {
    setSolidness(SPECTRAL);
  }
  int eventHandler(const Event* event) override {
    count++;
    const auto* step = dynamic_cast<const EventStep*>(event);
    if (action) action(step != nullptr ? step->getStepCount() : -1);
    return 1;
  }
  int count = 0;
  std::function<void(int)> action;
};

// A listener that registers for steps when made.
struct Stepper : Listener {
  explicit Stepper(std::function<void(int)> init_action = {}) : Listener(std::move(init_action)) {
    registerInterest(STEP_EVENT);
  }
};

// A key pressed and released, as far as the X server is concerned.
inline void tap(XInput& keys, unsigned long keysym) {
  keys.pressKey(keysym);
  keys.releaseKey(keysym);
  keys.settle();
}

// The game manager started with its window (and config as its configuration), focused for key
// presses; stopped afterwards.
class WindowTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    writeFile("tx-config.txt", config);
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
  std::string config;
};

}  // namespace tx::test
