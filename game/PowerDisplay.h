#pragma once

#include <string>

#include "tolvex/display/ViewObject.h"

// Shows the running power-up as "Powerup: <name>", without a value. The title screen places it
// and gives it the type "PowerupDisplay". Created with new; the world owns it.
class PowerDisplay : public tx::ViewObject {};

// Sets the text of the one "PowerupDisplay" in the world to "Powerup: " + name; changes nothing
// when there is none or more than one.
void setPowerupText(const std::string& name);
