#pragma once

#include "tolvex/display/ViewObject.h"

// Shows the level number; it goes up by one on each "Level" view event the Difficulty sends,
// as any view object's value does. The title screen places and labels it. Created with new; the
// world owns it.
class LevelDisplay : public tx::ViewObject {};
