#include "Floor.h"

#include "core/Event.h"
#include "world/WorldManager.h"

Floor::Floor() {
  setType("Floor");
  setSprite("floor");
  registerInterest(tx::STEP_EVENT);
  const tx::Box boundary = tx::WorldManager::getInstance().getBoundary();
  const int w = static_cast<int>(boundary.getHorizontal());
  const int h = static_cast<int>(boundary.getVertical());
  setPosition(tx::Vector(static_cast<float>(w / 2), static_cast<float>(h / 2)));
}

int Floor::eventHandler(const tx::Event* event) {
  if (event->getType() != tx::STEP_EVENT) return 0;
  const tx::Box boundary = tx::WorldManager::getInstance().getBoundary();
  if (getPosition().getY() > boundary.getCorner().getY() + boundary.getVertical()) {
    // The step dispatch has already called this handler and never comes back to it in this
    // walk, so the floor may end itself here.
    delete this;
  }
  return 1;
}
