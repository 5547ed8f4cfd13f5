#pragma once

namespace tx {

// Keeps the program alive when its window is destroyed behind its back (by the X server, or by
// another client as "xdotool windowclose" does). X reports every later request on that window as
// a protocol error, and the default handling of one ends the process on the spot. While a window
// is watched, errors saying it no longer exists only mark it gone; every other error is handled
// as before.

// Watches window (an X window id, as sf::Window::getSystemHandle() gives it) from now on, in
// place of any window watched before, and marks it not gone. It stays watched after it is
// closed, so that closing a window that is already gone ends nothing either.
void watchWindow(unsigned long window);
// True once an error has said that the watched window no longer exists.
bool isWindowGone();
// Asks the X server whether the watched window still exists, waiting for the answer, and returns
// isWindowGone() afterwards: for a caller that sends nothing to the window for a long while (the
// pause's wait) and so would not hear of its end. False when no window is watched. The first
// call opens a connection of its own, kept for the rest of the program.
bool checkWindowGone();

}  // namespace tx
