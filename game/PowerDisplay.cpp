#include "PowerDisplay.h"

#include "GameWorld.h"

void setPowerupText(const std::string& name, int seconds_left) {
  auto* display = findSingle<tx::ViewObject>("PowerupDisplay");
  if (display == nullptr) return;
  display->setViewString("Powerup: " + name);
  display->setValue(seconds_left);
  display->setDrawValue(seconds_left > 0);
}
