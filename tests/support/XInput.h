#pragma once

// Xlib's display connection, declared as Xlib declares it.
struct _XDisplay;

namespace tx::test {

// Drives the X server the tests run on (DISPLAY) as a user would, through XTest: key presses by
// keysym, pointer moves and button clicks, focus and window-manager close requests. Windows are
// X window ids (what sf::Window::getSystemHandle() returns on X11). Every call is flushed to the
// server before it returns.
class XInput {
 public:
  // Connects to the display named by DISPLAY. Check isOpen() before use.
  XInput();
  ~XInput();
  XInput(const XInput&) = delete;
  XInput& operator=(const XInput&) = delete;

  bool isOpen() const { return display != nullptr; }

  // Waits for the window to be viewable, raises it and gives it the keyboard focus.
  // False when the window never became viewable.
  bool focus(unsigned long window);

  // A key press or release by keysym (for example XK_a, XK_F11, XK_minus). False when the
  // keysym has no key in the server's keymap.
  bool pressKey(unsigned long keysym);
  bool releaseKey(unsigned long keysym);

  // Moves the pointer to a pixel position inside the window.
  void movePointer(unsigned long window, int x, int y);
  // Presses or releases pointer button 1 (left), 2 (middle) or 3 (right).
  void pressButton(unsigned int button);
  void releaseButton(unsigned int button);

  // Sends the window manager's close request (WM_DELETE_WINDOW) to the window.
  void requestClose(unsigned long window);

  // Waits until the server has handled everything sent, then gives it a moment to deliver the
  // resulting events to other clients.
  void settle();

 private:
  ::_XDisplay* display = nullptr;
};

}  // namespace tx::test
