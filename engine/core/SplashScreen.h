#pragma once

namespace tx {

// Shows the engine's splash screen in its own run of the game loop and returns when it ends
// (after 90 steps, a key press or the window closing). Call it after the game manager has
// started. Returns 0, or -1 when the game manager is not started.
int splash();

}  // namespace tx
