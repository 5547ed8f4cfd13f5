#include "GameWorld.h"

#include <vector>

#include "tolvex/core/Pause.h"
#include "tolvex/world/Box.h"

bool isBelowView(const tx::Object& object) {
  const tx::Box boundary = tx::WorldManager::getInstance().getBoundary();
  return object.getPosition().getY() > boundary.getCorner().getY() + boundary.getVertical();
}

void placeCamera(float corner_y) {
  tx::WorldManager& world = tx::WorldManager::getInstance();
  const tx::Box boundary = world.getBoundary();
  const tx::Box camera(tx::Vector(0.0f, corner_y), boundary.getHorizontal(),
                       boundary.getVertical());
  world.setBoundary(camera);
  world.setView(camera);
}

tx::Vector startingCell() {
  const tx::Box boundary = tx::WorldManager::getInstance().getBoundary();
  const int half_width = static_cast<int>(boundary.getHorizontal()) / 2;
  const int half_height = static_cast<int>(boundary.getVertical()) / 2;
  return tx::Vector(static_cast<float>(half_width), static_cast<float>(half_height));
}

void allowPausing(bool allowed) {
  // Inactive objects escape the objects-of-type query, so every object is looked at.
  tx::ObjectList all = tx::WorldManager::getInstance().getAllObjects(true);
  std::vector<tx::Object*> pauses;
  for (tx::ObjectListIterator it(&all); !it.isDone(); it.next())
    if (it.currentObject()->getType() == "Pause") pauses.push_back(it.currentObject());
  if (pauses.empty() && allowed) {
    new tx::Pause(tx::KeyCode::F10);
    new tx::Pause(tx::KeyCode::ESCAPE);
  }
  for (tx::Object* pause : pauses) pause->setActive(allowed);
}
