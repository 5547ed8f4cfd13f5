#pragma once

namespace tx {

// A connection to the X display named by DISPLAY, held for as long as this object lives.
// Creating a window without a reachable display would abort the whole process inside SFML, so
// the display manager asks here first. Holding the connection until the window has its own
// keeps the X server from resetting (as it does when its last client leaves) in between. A
// named display that refuses at first (a server resetting or starting) is tried again for about
// two seconds.
class DisplayConnection {
 public:
  DisplayConnection();
  ~DisplayConnection();
  DisplayConnection(const DisplayConnection&) = delete;
  DisplayConnection& operator=(const DisplayConnection&) = delete;

  // False when the display could not be opened.
  bool isOpen() const { return display != nullptr; }

 private:
  void* display = nullptr;
};

}  // namespace tx
