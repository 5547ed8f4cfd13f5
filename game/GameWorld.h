#pragma once

#include <string>

#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/Vector.h"
#include "tolvex/world/WorldManager.h"

// How the game's objects reach one another and the camera. They find each other only through
// the world's objects-of-type query, and the game keeps the world boundary and the view equal.

// The one active object of the type as a T; null when there is none, more than one, or it is
// not a T. The world keeps the object; do not delete it.
template <class T>
T* findSingle(const std::string& type) {
  tx::ObjectList list = tx::WorldManager::getInstance().objectsOfType(type);
  if (list.getCount() != 1) return nullptr;
  tx::ObjectListIterator it(&list);
  return dynamic_cast<T*>(it.currentObject());
}

// True once the object's y is below the bottom edge of the view.
bool isBelowView(const tx::Object& object);

// Writes a box of the boundary's size with its corner at (0, corner_y) to the world boundary,
// then to the view.
void placeCamera(float corner_y);

// The boundary's width and height, each truncated to whole cells and halved (integer
// division): where a new game puts the floor, the background and, a little higher, the player.
tx::Vector startingCell();

// Pausing is for play only: true makes the pause objects (F10 and Escape, created the first time)
// answer their keys, false leaves them in the world but deaf.
void allowPausing(bool allowed);
