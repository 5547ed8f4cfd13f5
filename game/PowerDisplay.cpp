#include "PowerDisplay.h"

#include "GameWorld.h"

void setPowerupText(const std::string& name) {
  auto* display = findSingle<tx::ViewObject>("PowerupDisplay");
  if (display != nullptr) display->setViewString("Powerup: " + name);
}
