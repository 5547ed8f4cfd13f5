#include "tolvex/platform/WindowWatch.h"

#include <X11/Xlib.h>

#include <atomic>

namespace tx {

namespace {

std::atomic<unsigned long> watched{0};
std::atomic<bool> gone{false};
// The handler that was in place before ours: every error not about the watched window goes there.
XErrorHandler previous_handler = nullptr;
// Our own connection for checkWindowGone(), so that its round trip leaves the window's alone.
::Display* probe_display = nullptr;

bool saysWindowIsGone(const XErrorEvent& error) {
  return (error.error_code == BadWindow || error.error_code == BadDrawable) &&
         error.resourceid == watched.load() && watched.load() != 0;
}

int handleError(::Display* display, XErrorEvent* error) {
  if (saysWindowIsGone(*error)) {
    gone = true;
    return 0;
  }
  return previous_handler != nullptr ? previous_handler(display, error) : 0;
}

}  // namespace

void watchWindow(unsigned long window) {
  // Ours goes on top again if another was installed since (a library's, a test's), and passes on
  // to it whatever is not about the watched window.
  const XErrorHandler current = XSetErrorHandler(handleError);
  if (current != handleError) previous_handler = current;
  gone = false;
  watched = window;
}

bool isWindowGone() { return gone.load(); }

bool checkWindowGone() {
  const unsigned long window = watched.load();
  if (window == 0) return false;
  if (probe_display == nullptr) probe_display = XOpenDisplay(nullptr);
  if (probe_display == nullptr) return isWindowGone();
  XWindowAttributes attributes;
  // Waits for the answer, which fails only for a window that no longer exists.
  if (XGetWindowAttributes(probe_display, window, &attributes) == 0) gone = true;
  return isWindowGone();
}

}  // namespace tx
