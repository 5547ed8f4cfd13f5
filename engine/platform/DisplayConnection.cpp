#include "tolvex/platform/DisplayConnection.h"

#include <X11/Xlib.h>

namespace tx {

DisplayConnection::DisplayConnection() : display(XOpenDisplay(nullptr)) {}

DisplayConnection::~DisplayConnection() {
  if (display != nullptr) {
    XCloseDisplay(static_cast<::Display*>(display));
  }
}

}  // namespace tx
