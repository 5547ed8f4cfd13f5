#include "display/InputManager.h"

#include <X11/keysym.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "DisplayFixture.h"
#include "XInput.h"
#include "core/GameManager.h"
#include "world/Object.h"

namespace tx::test {
namespace {

// One delivered event as (kind 'k' or 'm', key or button, action), so sequences compare with ==.
using Received = std::tuple<char, int, int>;
using Events = std::vector<Received>;
Received key(KeyCode code, KeyAction action) {
  return {'k', static_cast<int>(code), static_cast<int>(action)};
}
Received mouse(MouseButton button, MouseAction action) {
  return {'m', static_cast<int>(button), static_cast<int>(action)};
}

// Records every keyboard and mouse event it is handed, in order, and where the mouse was.
class Recorder : public Object {
 public:
  Recorder() { registerInterest(KEYBOARD_EVENT), registerInterest(MOUSE_EVENT); }
  int eventHandler(const Event* event) override {
    if (const auto* k = dynamic_cast<const EventKeyboard*>(event))
      received.push_back(key(k->getKey(), k->getAction())), at.emplace_back();
    if (const auto* m = dynamic_cast<const EventMouse*>(event))
      received.push_back(mouse(m->getButton(), m->getAction())), at.push_back(m->getPosition());
    return 1;
  }
  Events received;
  std::vector<Vector> at;  // where the mouse was, for each event received
};

class InputTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ASSERT_TRUE(x.isOpen()) << "no X display";
    startDisplay();
    ASSERT_EQ(InputManager::getInstance().startUp(), 0);
    window = DisplayManager::getInstance().getWindow()->getSystemHandle();
    ASSERT_TRUE(x.focus(window));
    // Park the pointer inside the window and let the focus and motion events drain.
    move(10, 10);
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
  // Key and button presses are released again at the end of the test, whatever happens.
  void press(unsigned long keysym) {
    EXPECT_TRUE(x.pressKey(keysym));
    held_keys.push_back(keysym), x.settle();
  }
  void release(unsigned long keysym) { x.releaseKey(keysym), x.settle(); }
  void pressButton(unsigned int button) {
    x.pressButton(button), held_buttons.push_back(button), x.settle();
  }
  void move(int px, int py) { x.movePointer(window, px, py), x.settle(); }
  // One game-loop iteration's input, and the events it delivered of one kind (without moves);
  // the recorder keeps them all.
  Events step(char kind) {
    recorder->received.clear();
    recorder->at.clear();
    InputManager::getInstance().getInput();
    Events of_kind;
    for (const Received& r : recorder->received)
      if (std::get<0>(r) == kind && r != mouse(MouseButton::UNDEFINED, MouseAction::MOVED))
        of_kind.push_back(r);
    return of_kind;
  }

  XInput x;
  unsigned long window = 0;
  Recorder* recorder = nullptr;
  std::vector<unsigned long> held_keys;
  std::vector<unsigned int> held_buttons;
};

TEST_F(InputTest, HeldKeyIsPressedAndHeldThenHeldOncePerStepThenReleasedWithoutHeld) {
  press(XK_a);
  EXPECT_EQ(step('k'),
            (Events{key(KeyCode::A, KeyAction::PRESSED), key(KeyCode::A, KeyAction::HELD)}));
  EXPECT_EQ(step('k'), (Events{key(KeyCode::A, KeyAction::HELD)}));
  // Longer than the server's auto-repeat delay: a repeating key would be pressed again.
  for (int i = 0; i < 20; i++) x.settle();
  EXPECT_EQ(step('k'), (Events{key(KeyCode::A, KeyAction::HELD)}));
  release(XK_a);
  EXPECT_EQ(step('k'), (Events{key(KeyCode::A, KeyAction::RELEASED)}));
  EXPECT_EQ(step('k'), Events{});
  // Several held keys come in the order of the scan.
  for (const unsigned long keysym : {XK_BackSpace, XK_5, XK_Up}) press(keysym);
  step('k');
  EXPECT_EQ(step('k'),
            (Events{key(KeyCode::UP_ARROW, KeyAction::HELD), key(KeyCode::NUM5, KeyAction::HELD),
                    key(KeyCode::BACKSPACE, KeyAction::HELD)}));
}

// Every key the game reads and the four arrows arrive as their own KeyCode, pressed and held,
// then released. F11 and keys without a KeyCode (their SFML value plus 97: 153 for '-') are
// never held.
TEST_F(InputTest, EachKeyArrivesAsItsOwnKeyCode) {
  const struct {
    unsigned long keysym;
    KeyCode code;
    bool held;
  } keys[] = {
      {XK_Left, KeyCode::LEFT_ARROW, true},
      {XK_Right, KeyCode::RIGHT_ARROW, true},
      {XK_Up, KeyCode::UP_ARROW, true},
      {XK_Down, KeyCode::DOWN_ARROW, true},
      {XK_space, KeyCode::SPACE, true},
      {XK_w, KeyCode::W, true},
      {XK_a, KeyCode::A, true},
      {XK_d, KeyCode::D, true},
      {XK_p, KeyCode::P, true},
      {XK_q, KeyCode::Q, true},
      {XK_F10, KeyCode::F10, true},
      {XK_F11, KeyCode::F11, false},
      {XK_minus, static_cast<KeyCode>(153), false},
  };
  for (const auto& [keysym, code, held] : keys) {
    SCOPED_TRACE(testing::Message() << "keysym " << std::hex << keysym);
    press(keysym);
    Events pressed{key(code, KeyAction::PRESSED)};
    if (held) pressed.push_back(key(code, KeyAction::HELD));
    EXPECT_EQ(step('k'), pressed) << "pressed arrives as KeyCode " << int(code);
    release(keysym);
    EXPECT_EQ(step('k'), (Events{key(code, KeyAction::RELEASED)}))
        << "released arrives as KeyCode " << int(code);
  }
}

TEST_F(InputTest, WindowCloseSetsGameOverAndSkipsTheHeldScan) {
  press(XK_a);
  step('k');
  pressButton(1);
  step('m');
  ASSERT_FALSE(GameManager::getInstance().getGameOver());
  x.requestClose(window);
  x.settle();
  step('k');
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  EXPECT_EQ(recorder->received, Events{});
}

// A move, a click and a held button each carry the cell under the pointer, (x, y) as they are.
TEST_F(InputTest, PointerMovesAndClicksAreReportedAtTheCellUnderThePointer) {
  move(100, 80);  // cell (7.8125, 2.5)
  step('m');
  const auto moved = std::find(recorder->received.begin(), recorder->received.end(),
                               mouse(MouseButton::UNDEFINED, MouseAction::MOVED));
  ASSERT_NE(moved, recorder->received.end()) << "no moved event";
  const Vector moved_to =
      recorder->at[static_cast<std::size_t>(moved - recorder->received.begin())];
  EXPECT_FLOAT_EQ(moved_to.getX(), 7.8125f) << "a moved event's x is the pointer's column";
  EXPECT_FLOAT_EQ(moved_to.getY(), 2.5f) << "a moved event's y is the pointer's row";
  pressButton(1);
  EXPECT_EQ(step('m'), (Events{mouse(MouseButton::LEFT, MouseAction::CLICKED),
                               mouse(MouseButton::LEFT, MouseAction::PRESSED)}));
  for (const Vector& at : recorder->at) {
    EXPECT_FLOAT_EQ(at.getX(), 7.8125f);
    EXPECT_FLOAT_EQ(at.getY(), 2.5f);
  }

  x.releaseButton(1), x.settle();
  EXPECT_EQ(step('m'), Events{});

  SCOPED_TRACE("a click released before the poll still names its button");
  x.pressButton(1), x.releaseButton(1), x.pressButton(2), x.releaseButton(2), x.settle();
  EXPECT_EQ(step('m'), (Events{mouse(MouseButton::LEFT, MouseAction::CLICKED),
                               mouse(MouseButton::MIDDLE, MouseAction::CLICKED)}));
}

}  // namespace
}  // namespace tx::test
