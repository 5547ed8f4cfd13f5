#pragma once

namespace tx {

// SIGINT and SIGTERM, the signals that ask a program to stop, caught so that the game can end
// in order (game over, shut-down, the closing log lines) instead of dying mid-frame. The
// handler only notes the signal; the game loop reads the note.

// From now on the first SIGINT or SIGTERM is only noted; a second one ends the process at once,
// for a game that no longer answers. A signal the process was started ignoring stays ignored.
void catchStopSignals();
// Gives both signals back what they did before catchStopSignals(); the note stays.
void releaseStopSignals();
// The stop signal noted since the program started, 0 for none.
int stopSignal();

}  // namespace tx
