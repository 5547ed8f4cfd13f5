#include "tolvex/platform/WindowWatch.h"

#include <X11/Xlib.h>

#include <atomic>

namespace tx {

namespace {

std::atomic<unsigned long> watched{0};
std::atomic<bool> gone{false};
bool installed = false;
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
  // Installed once and left in place: a handler installed after ours (a library's, a test's)
  // keeps working, and ours passes on whatever is not about the watched window.
  if (!installed) previous_handler = XSetErrorHandler(handleError);
  installed = true;
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
  // Waits for the answer: an error about the window has been handled when this returns.
  XGetWindowAttributes(probe_display, window, &attributes);
  return isWindowGone();
}

}  // namespace tx
