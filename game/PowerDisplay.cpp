#include "PowerDisplay.h"

#include "core/ObjectListIterator.h"
#include "world/WorldManager.h"

int PowerDisplay::eventHandler(const tx::Event* event) { return ViewObject::eventHandler(event); }

void setPowerupText(const std::string& name) {
  tx::ObjectList list = tx::WorldManager::getInstance().objectsOfType("PowerupDisplay");
  if (list.getCount() != 1) return;
  tx::ObjectListIterator it(&list);
  auto* display = dynamic_cast<tx::ViewObject*>(it.currentObject());
  if (display != nullptr) display->setViewString("Powerup: " + name);
}
