#include "tolvex/platform/DisplayConnection.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace tx {

namespace {

// An X server refuses connections while it resets, as it does when its last client leaves, and
// a server being started takes a moment to listen: a display that is named gets about two
// seconds before it counts as unreachable.
constexpr int RETRIES = 40;
constexpr std::chrono::milliseconds RETRY_WAIT(50);

bool isDisplayNamed() {
  const char* name = std::getenv("DISPLAY");
  return name != nullptr && *name != '\0';
}

}  // namespace

DisplayConnection::DisplayConnection() : display(XOpenDisplay(nullptr)) {
  if (!isDisplayNamed()) return;
  for (int i = 0; display == nullptr && i < RETRIES; ++i) {
    std::this_thread::sleep_for(RETRY_WAIT);
    display = XOpenDisplay(nullptr);
  }
}

DisplayConnection::~DisplayConnection() {
  if (display != nullptr) {
    XCloseDisplay(static_cast<::Display*>(display));
  }
}

}  // namespace tx
