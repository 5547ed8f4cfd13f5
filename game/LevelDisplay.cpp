#include "LevelDisplay.h"

int LevelDisplay::eventHandler(const tx::Event* event) { return ViewObject::eventHandler(event); }
