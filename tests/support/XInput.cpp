#include "XInput.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <thread>

namespace tx::test {

XInput::XInput() {
  // A window that went away between two calls is no reason to end the test program.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  display = XOpenDisplay(nullptr);
}

XInput::~XInput() {
  if (display != nullptr) XCloseDisplay(display);
}

bool XInput::focus(unsigned long window) {
  if (display == nullptr) return false;
  bool viewable = false;
  for (int attempt = 0; attempt < 200 && !viewable; attempt++) {
    XMapRaised(display, window);
    XSync(display, False);
    XWindowAttributes attributes;
    viewable = XGetWindowAttributes(display, window, &attributes) != 0 &&
               attributes.map_state == IsViewable;
    if (!viewable) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!viewable) return false;
  XRaiseWindow(display, window);
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  settle();
  return true;
}

bool XInput::key(unsigned long keysym, bool down) {
  const KeyCode code = display == nullptr ? 0 : XKeysymToKeycode(display, keysym);
  if (code == 0) return false;
  XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
  XSync(display, False);
  return true;
}

void XInput::button(unsigned int number, bool down) {
  if (display == nullptr) return;
  XTestFakeButtonEvent(display, number, down ? True : False, CurrentTime);
  XSync(display, False);
}

void XInput::movePointer(unsigned long window, int x, int y) {
  if (display == nullptr) return;
  XWarpPointer(display, None, window, 0, 0, 0, 0, x, y);
  XSync(display, False);
}

void XInput::requestClose(unsigned long window) {
  if (display == nullptr) return;
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
}

void XInput::destroyWindow(unsigned long window) {
  if (display == nullptr) return;
  XDestroyWindow(display, window);
  XSync(display, False);
}

std::vector<unsigned long> XInput::pixels(unsigned long window, int& width, int& height) {
  XWindowAttributes at;
  if (display == nullptr || XGetWindowAttributes(display, window, &at) == 0) return {};
  width = at.width, height = at.height;
  XImage* shot = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), AllPlanes, ZPixmap);
  std::vector<unsigned long> all;
  for (int y = 0; shot != nullptr && y < height; y++)
    for (int x = 0; x < width; x++) all.push_back(XGetPixel(shot, x, y) & 0xffffff);
  if (shot != nullptr) XDestroyImage(shot);
  return all;
}

void XInput::settle() {
  if (display == nullptr) return;
  XSync(display, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

}  // namespace tx::test
