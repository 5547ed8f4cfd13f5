#pragma once

// Loads every sprite, sound and music piece the game uses, from sprites/ and sounds/ in the data
// directory (tx::DataDirectory). Call once, after the resource manager has started and before the
// title screen is created. A file that fails to load is only reported by the resource manager; the
// game then runs without that resource.
void loadResources();
