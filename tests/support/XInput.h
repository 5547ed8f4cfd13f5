#pragma once

#include <vector>

// Xlib's display connection, declared as Xlib declares it.
struct _XDisplay;

namespace tx::test {

// Drives the X server (DISPLAY) as a user would, through XTest, on X window ids
// (getSystemHandle()). Every call reaches the server before it returns; errors about vanished
// windows are ignored.
class XInput {
 public:
  XInput();
  ~XInput();
  XInput(const XInput&) = delete;
  XInput& operator=(const XInput&) = delete;

  bool isOpen() const { return display != nullptr; }
  // Waits for the window to be viewable, raises it and focuses it; false if it never shows.
  bool focus(unsigned long window);
  // A key by keysym (XK_a, XK_F11, ...); false when the keymap has no key for it.
  bool pressKey(unsigned long keysym) { return key(keysym, true); }
  bool releaseKey(unsigned long keysym) { return key(keysym, false); }
  // Moves the pointer to a pixel of the window.
  void movePointer(unsigned long window, int x, int y);
  // Pointer button 1 (left), 2 (middle) or 3 (right).
  void pressButton(unsigned int number) { button(number, true); }
  void releaseButton(unsigned int number) { button(number, false); }
  // Sends the window manager's close request (WM_DELETE_WINDOW) to the window.
  void requestClose(unsigned long window);
  // Destroys the window from this client, as "xdotool windowclose" does.
  void destroyWindow(unsigned long window);
  // Waits until the server has handled everything, then lets it deliver the events.
  void settle();
  // The window's pixels as 0xRRGGBB, row after row; empty when the window cannot be read.
  std::vector<unsigned long> pixels(unsigned long window, int& width, int& height);

 private:
  bool key(unsigned long keysym, bool down);
  void button(unsigned int number, bool down);
  ::_XDisplay* display = nullptr;
};

}  // namespace tx::test
