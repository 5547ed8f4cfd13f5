#include "tolvex/display/InputManager.h"

#include <X11/keysym.h>

#include <memory>
#include <tuple>

#include "DisplayFixture.h"
#include "XInput.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/world/Object.h"

namespace tx::test {
namespace {

// One delivered event as (kind 'k' or 'm', key or button, action), so sequences compare with ==.
using Received = std::tuple<char, int, int>;
using Events = std::vector<Received>;
Received key(KeyCode code, KeyAction action) { return {'k', int(code), int(action)}; }
Received mouse(MouseButton button, MouseAction action) { return {'m', int(button), int(action)}; }

// Records the keyboard and mouse events it is handed, in order, each with the mouse's position.
struct Recorder : Object {
  Recorder() { registerInterest(KEYBOARD_EVENT), registerInterest(MOUSE_EVENT); }
  int eventHandler(const Event* event) override {
    if (const auto* k = dynamic_cast<const EventKeyboard*>(event))
      received.push_back(key(k->getKey(), k->getAction())), at.emplace_back();
    if (const auto* m = dynamic_cast<const EventMouse*>(event))
      received.push_back(mouse(m->getButton(), m->getAction())), at.push_back(m->getPosition());
    return 1;
  }
  Events received;
  std::vector<Vector> at;
};

// Real key presses and pointer moves through the X server into the display's window.
class InputTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    startDisplay();
    ASSERT_EQ(InputManager::getInstance().startUp(), 0);
    window = DisplayManager::getInstance().getWindow()->getSystemHandle();
    ASSERT_TRUE(x.focus(window));
    move(10, 10);  // parked inside the window; the focus and motion events drained
    for (int i = 0; i < 5; i++) InputManager::getInstance().getInput();
    recorder = std::make_unique<Recorder>();
  }
  void TearDown() override {  // whatever happened, nothing stays pressed for later tests
    for (unsigned long keysym : pressed) x.releaseKey(keysym);
    x.releaseButton(1);
    recorder.reset();
    InputManager::getInstance().shutDown();
    DisplayTest::TearDown();
  }
  void press(unsigned long keysym) { x.pressKey(keysym), pressed.push_back(keysym), x.settle(); }
  void move(int px, int py) { x.movePointer(window, px, py), x.settle(); }
  // One game-loop iteration's input; the events it delivered of one kind, moves left out.
  Events step(char kind) {
    recorder->received.clear(), recorder->at.clear();
    InputManager::getInstance().getInput();
    Events of_kind;
    for (const Received& r : recorder->received)
      if (std::get<0>(r) == kind && r != mouse(MouseButton::UNDEFINED, MouseAction::MOVED))
        of_kind.push_back(r);
    return of_kind;
  }

  XInput x;
  unsigned long window = 0;
  std::unique_ptr<Recorder> recorder;
  std::vector<unsigned long> pressed;
};

// Every key the game reads and the four arrows arrive as their own KeyCode, pressed, held and
// released; F11 and keys without one (SFML value plus 97: 153 for '-') are never held.
TEST_F(InputTest, EachKeyArrivesAsItsOwnKeyCode) {
  const unsigned long keysyms[] = {XK_Left, XK_Right, XK_Up, XK_Down,   XK_space, XK_w,   XK_a,
                                   XK_d,    XK_p,     XK_q,  XK_Escape, XK_F10,   XK_F11, XK_minus};
  const KeyCode codes[] = {KeyCode::LEFT_ARROW, KeyCode::RIGHT_ARROW, KeyCode::UP_ARROW,
                           KeyCode::DOWN_ARROW, KeyCode::SPACE,       KeyCode::W,
                           KeyCode::A,          KeyCode::D,           KeyCode::P,
                           KeyCode::Q,          KeyCode::ESCAPE,      KeyCode::F10,
                           KeyCode::F11,        KeyCode(153)};
  for (int i = 0; i < 14; i++) {
    SCOPED_TRACE(testing::Message() << "keysym " << std::hex << keysyms[i]);
    press(keysyms[i]);
    Events pressed_events{key(codes[i], KeyAction::PRESSED)};
    if (i < 12) pressed_events.push_back(key(codes[i], KeyAction::HELD));  // F11 and '-' are not
    EXPECT_EQ(step('k'), pressed_events);
    x.releaseKey(keysyms[i]), x.settle();
    EXPECT_EQ(step('k'), (Events{key(codes[i], KeyAction::RELEASED)}));
  }
}

// A key held down is HELD once a step and never pressed again (no auto-repeat, even past the
// server's repeat delay); held keys come in the order of the scan. Closing the window sets game
// over and ends the step's input: no held key is scanned.
TEST_F(InputTest, HeldKeysAreHeldOncePerStepInScanOrderUntilTheWindowCloses) {
  for (const unsigned long keysym : {XK_BackSpace, XK_5, XK_Up}) press(keysym);
  step('k');
  for (int i = 0; i < 20; i++) x.settle();
  EXPECT_EQ(step('k'),
            (Events{key(KeyCode::UP_ARROW, KeyAction::HELD), key(KeyCode::NUM5, KeyAction::HELD),
                    key(KeyCode::BACKSPACE, KeyAction::HELD)}));
  x.requestClose(window), x.settle();
  EXPECT_EQ(step('k'), Events{});
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
}

// A move, a click and a held button each carry the cell under the pointer, x and y as they are;
// a click released before the poll still names its button.
TEST_F(InputTest, PointerMovesAndClicksAreReportedAtTheCellUnderThePointer) {
  move(100, 80);  // cell (7.8125, 2.5)
  step('m');
  ASSERT_EQ(recorder->received, Events{mouse(MouseButton::UNDEFINED, MouseAction::MOVED)});
  const Vector moved_to = recorder->at.back();
  EXPECT_FLOAT_EQ(moved_to.getX(), 7.8125f);
  EXPECT_FLOAT_EQ(moved_to.getY(), 2.5f);
  x.pressButton(1), x.settle();
  EXPECT_EQ(step('m'), (Events{mouse(MouseButton::LEFT, MouseAction::CLICKED),
                               mouse(MouseButton::LEFT, MouseAction::PRESSED)}));
  for (const Vector& at : recorder->at) EXPECT_EQ(at, moved_to);
  x.releaseButton(1), x.pressButton(2), x.releaseButton(2), x.settle();
  EXPECT_EQ(step('m'), (Events{mouse(MouseButton::MIDDLE, MouseAction::CLICKED)}));
}

}  // namespace
}  // namespace tx::test
