#include "display/InputManager.h"

#include <X11/keysym.h>

#include <vector>

#include "DisplayFixture.h"
#include "XInput.h"
#include "core/GameManager.h"
#include "world/Object.h"

namespace tx::test {
namespace {

// One delivered event, flattened so that sequences compare with ==.
struct Received {
  char kind;  // 'k' keyboard, 'm' mouse
  int code;   // key or button
  int action;
  float x = 0.0f;
  float y = 0.0f;
  bool operator==(const Received& other) const {
    return kind == other.kind && code == other.code && action == other.action;
  }
};

std::ostream& operator<<(std::ostream& out, const Received& r) {
  return out << r.kind << "(" << r.code << "," << r.action << ")";
}

Received key(KeyCode code, KeyAction action) {
  return {'k', static_cast<int>(code), static_cast<int>(action)};
}
Received keyValue(int code, KeyAction action) { return {'k', code, static_cast<int>(action)}; }
Received mouse(MouseButton button, MouseAction action) {
  return {'m', static_cast<int>(button), static_cast<int>(action)};
}

// Records every keyboard and mouse event it is handed, in order.
class Recorder : public Object {
 public:
  Recorder() {
    registerInterest(KEYBOARD_EVENT);
    registerInterest(MOUSE_EVENT);
  }
  int eventHandler(const Event* event) override {
    if (event->getType() == KEYBOARD_EVENT) {
      const auto* k = static_cast<const EventKeyboard*>(event);
      received.push_back(key(k->getKey(), k->getAction()));
    } else if (event->getType() == MOUSE_EVENT) {
      const auto* m = static_cast<const EventMouse*>(event);
      Received r = mouse(m->getButton(), m->getAction());
      r.x = m->getPosition().getX();
      r.y = m->getPosition().getY();
      received.push_back(r);
    }
    return 1;
  }
  std::vector<Received> received;
};

class InputTest : public DisplayTest {
 protected:
  void startInput() {
    ASSERT_TRUE(x.isOpen()) << "no X display";
    startDisplay();
    ASSERT_EQ(InputManager::getInstance().startUp(), 0);
    window = DisplayManager::getInstance().getWindow()->getSystemHandle();
    ASSERT_TRUE(x.focus(window));
    // Park the pointer inside the window and let the focus and motion events drain.
    x.movePointer(window, 10, 10);
    x.settle();
    for (int i = 0; i < 5; i++) InputManager::getInstance().getInput();
    recorder = new Recorder;
  }

  void TearDown() override {
    for (unsigned long keysym : held_keys) x.releaseKey(keysym);
    for (unsigned int button : held_buttons) x.releaseButton(button);
    delete recorder;
    InputManager::getInstance().shutDown();
    DisplayTest::TearDown();
  }

  void press(unsigned long keysym) {
    ASSERT_TRUE(x.pressKey(keysym));
    held_keys.push_back(keysym);
    x.settle();
  }
  void release(unsigned long keysym) {
    x.releaseKey(keysym);
    x.settle();
  }
  void pressButton(unsigned int button) {
    x.pressButton(button);
    held_buttons.push_back(button);
    x.settle();
  }
  void releaseButton(unsigned int button) {
    x.releaseButton(button);
    x.settle();
  }

  // One game-loop iteration's input, and the events it delivered of one kind.
  std::vector<Received> step(char kind) {
    recorder->received.clear();
    InputManager::getInstance().getInput();
    std::vector<Received> of_kind;
    for (const Received& r : recorder->received)
      if (r.kind == kind && !(kind == 'm' && r.action == static_cast<int>(MouseAction::MOVED)))
        of_kind.push_back(r);
    return of_kind;
  }

  XInput x;
  unsigned long window = 0;
  Recorder* recorder = nullptr;
  std::vector<unsigned long> held_keys;
  std::vector<unsigned int> held_buttons;
};

using Events = std::vector<Received>;

TEST_F(InputTest, HeldKeyIsPressedAndHeldThenHeldOncePerStepThenReleasedWithoutHeld) {
  startInput();
  press(XK_a);
  EXPECT_EQ(step('k'), (Events{key(KeyCode::A, KeyAction::PRESSED), key(KeyCode::A, KeyAction::HELD)}));
  EXPECT_EQ(step('k'), (Events{key(KeyCode::A, KeyAction::HELD)}));
  EXPECT_EQ(step('k'), (Events{key(KeyCode::A, KeyAction::HELD)}));
  release(XK_a);
  EXPECT_EQ(step('k'), (Events{key(KeyCode::A, KeyAction::RELEASED)}));
  EXPECT_EQ(step('k'), Events{});
}

TEST_F(InputTest, KeyRepeatIsOffWhileRunning) {
  startInput();
  press(XK_d);
  EXPECT_EQ(step('k'), (Events{key(KeyCode::D, KeyAction::PRESSED), key(KeyCode::D, KeyAction::HELD)}));
  // Longer than the server's auto-repeat delay: a repeating key would be pressed again.
  for (int i = 0; i < 20; i++) x.settle();
  EXPECT_EQ(step('k'), (Events{key(KeyCode::D, KeyAction::HELD)}));
}

TEST_F(InputTest, F11IsPressedAndReleasedButNeverHeld) {
  startInput();
  press(XK_F11);
  EXPECT_EQ(step('k'), (Events{key(KeyCode::F11, KeyAction::PRESSED)}));
  EXPECT_EQ(step('k'), Events{});
  release(XK_F11);
  EXPECT_EQ(step('k'), (Events{key(KeyCode::F11, KeyAction::RELEASED)}));
}

TEST_F(InputTest, UntranslatedKeysCarrySfmlValuePlus97AndAreNotScanned) {
  startInput();
  press(XK_minus);
  EXPECT_EQ(step('k'), (Events{keyValue(153, KeyAction::PRESSED)}));
  EXPECT_EQ(step('k'), Events{});
  release(XK_minus);
  EXPECT_EQ(step('k'), (Events{keyValue(153, KeyAction::RELEASED)}));
  press(XK_Alt_L);
  EXPECT_EQ(step('k'), (Events{keyValue(136, KeyAction::PRESSED)}));
  release(XK_Alt_L);
  step('k');
}

TEST_F(InputTest, HeldKeysAreReportedInScanOrder) {
  startInput();
  press(XK_BackSpace);
  press(XK_5);
  press(XK_Up);
  step('k');
  EXPECT_EQ(step('k'), (Events{key(KeyCode::UP_ARROW, KeyAction::HELD),
                               key(KeyCode::NUM5, KeyAction::HELD),
                               key(KeyCode::BACKSPACE, KeyAction::HELD)}));
}

TEST_F(InputTest, WindowCloseSetsGameOverAndSkipsTheHeldScan) {
  startInput();
  press(XK_a);
  step('k');
  pressButton(1);
  step('m');
  ASSERT_FALSE(GameManager::getInstance().getGameOver());
  x.requestClose(window);
  x.settle();
  recorder->received.clear();
  InputManager::getInstance().getInput();
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  EXPECT_TRUE(recorder->received.empty());
}

TEST_F(InputTest, ClickIsClickedThenPressedAtTheCellUnderThePointer) {
  startInput();
  x.movePointer(window, 64, 64);
  x.settle();
  step('m');
  pressButton(1);
  const Events events = step('m');
  ASSERT_EQ(events, (Events{mouse(MouseButton::LEFT, MouseAction::CLICKED),
                            mouse(MouseButton::LEFT, MouseAction::PRESSED)}));
  for (const Received& r : events) {
    EXPECT_FLOAT_EQ(r.x, 5.0f);
    EXPECT_FLOAT_EQ(r.y, 2.0f);
  }
  releaseButton(1);
  EXPECT_EQ(step('m'), Events{});
}

TEST_F(InputTest, ClickReleasedBeforeThePollStillNamesItsButton) {
  startInput();
  x.pressButton(1);
  x.releaseButton(1);
  x.pressButton(2);
  x.releaseButton(2);
  x.settle();
  EXPECT_EQ(step('m'), (Events{mouse(MouseButton::LEFT, MouseAction::CLICKED),
                               mouse(MouseButton::MIDDLE, MouseAction::CLICKED)}));
}

TEST_F(InputTest, HeldButtonsAreReportedLeftThenRightAndLeftWinsTheClick) {
  startInput();
  pressButton(1);
  step('m');
  pressButton(3);
  EXPECT_EQ(step('m'), (Events{mouse(MouseButton::LEFT, MouseAction::CLICKED),
                               mouse(MouseButton::LEFT, MouseAction::PRESSED),
                               mouse(MouseButton::RIGHT, MouseAction::PRESSED)}));
}

TEST_F(InputTest, MovingThePointerReportsItsCell) {
  startInput();
  x.movePointer(window, 100, 50);
  x.settle();
  recorder->received.clear();
  InputManager::getInstance().getInput();
  ASSERT_FALSE(recorder->received.empty());
  const Received& last = recorder->received.back();
  EXPECT_EQ(last, mouse(MouseButton::UNDEFINED, MouseAction::MOVED));
  EXPECT_FLOAT_EQ(last.x, 7.8125f);
  EXPECT_FLOAT_EQ(last.y, 1.5625f);
}

TEST_F(InputTest, OnlyKeyboardAndMouseLabelsAreAccepted) {
  InputManager& input = InputManager::getInstance();
  EXPECT_TRUE(input.isValid(KEYBOARD_EVENT));
  EXPECT_TRUE(input.isValid(MOUSE_EVENT));
  EXPECT_FALSE(input.isValid(STEP_EVENT));
  EXPECT_FALSE(input.isValid("tx-keyboard-network"));
}

TEST_F(InputTest, StartUpNeedsTheDisplayManager) {
  ASSERT_EQ(LogManager::getInstance().startUp(), 0);
  LogManager::getInstance().setFlush(true);
  EXPECT_EQ(InputManager::getInstance().startUp(), -1);
  EXPECT_FALSE(InputManager::getInstance().isStarted());
  EXPECT_TRUE(logHas(
      "InputManager::startUp(): Error starting InputManager. DisplayManager must be started "
      "first."));
  InputManager::getInstance().getInput();
  EXPECT_TRUE(logHas("InputManager::getInput(): DisplayManager unexpectedly returned null window!"));
}

TEST_F(InputTest, StartingTwiceIsReportedAndStillSucceeds) {
  startInput();
  EXPECT_EQ(InputManager::getInstance().startUp(), 0);
  EXPECT_TRUE(logHas("InputManager::startUp(): Already started."));
}

TEST_F(InputTest, HeadlessStartsWithoutDisplayAndReadsNothing) {
  Config::getInstance().loadConfig("headless:true,");
  ASSERT_EQ(LogManager::getInstance().startUp(), 0);
  LogManager::getInstance().setFlush(true);
  EXPECT_EQ(InputManager::getInstance().startUp(), 0);
  EXPECT_TRUE(InputManager::getInstance().isStarted());
  InputManager::getInstance().getInput();
  InputManager::getInstance().shutDown();
  EXPECT_FALSE(InputManager::getInstance().isStarted());
  EXPECT_EQ(logMessages(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tx::test
