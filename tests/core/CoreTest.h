#pragma once

#include <SFML/Graphics/RenderWindow.hpp>

#include "Probe.h"
#include "XInput.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/platform/SystemClock.h"

namespace tx::test {

// A key pressed and released, as far as the X server is concerned.
inline void tap(XInput& keys, unsigned long keysym) {
  keys.pressKey(keysym), keys.releaseKey(keysym), keys.settle();
}

// The game manager started with its window and config as its settings, focused for key presses;
// steps do not sleep out the frame.
class WindowTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    setSleeper([](int) {});
    writeFile("tx-config.txt", config);
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    window = DisplayManager::getInstance().getWindow()->getSystemHandle();
    ASSERT_TRUE(input.focus(window));
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    setSleeper({});
    EngineTest::TearDown();
  }
  XInput input;
  unsigned long window = 0;
  std::string config;
};

}  // namespace tx::test
