#pragma once

#include <string>

#include "tolvex/display/ViewObject.h"

// Shows the running power-up as "Powerup: <name>" and, while one runs, its seconds left as the
// value. The title screen places it and gives it the type "PowerupDisplay". Created with new; the
// world owns it.
class PowerDisplay : public tx::ViewObject {};

// Sets the text of the one "PowerupDisplay" in the world to "Powerup: " + name, followed by
// seconds_left when that is above 0; changes nothing when there is none or more than one.
void setPowerupText(const std::string& name, int seconds_left = 0);
