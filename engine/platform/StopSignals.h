#pragma once

namespace tx {

// SIGINT and SIGTERM, the signals that ask a program to stop, caught so that the game can end
// in order (game over, shut-down, the closing log lines) instead of dying mid-frame. The
// handler only notes the signal; the game loop reads the note.

// From now on the first SIGINT or SIGTERM is only noted; a second one does what it did before
// (normally ends the process at once, for a game that no longer answers).
void catchStopSignals();
// Gives both signals back what they did before catchStopSignals(); the note stays.
void releaseStopSignals();
// The stop signal noted since the program started (or the last clearStopSignal()), 0 for none.
int stopSignal();
// Forgets the noted signal; the signals go on being caught if they were.
void clearStopSignal();

}  // namespace tx
