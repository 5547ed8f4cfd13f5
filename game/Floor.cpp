#include "Floor.h"

#include "GameWorld.h"
#include "tolvex/core/Event.h"

Floor::Floor() {
  setType("Floor");
  setSprite("floor");
  registerInterest(tx::STEP_EVENT);
  setPosition(startingCell());
}

int Floor::eventHandler(const tx::Event* event) {
  if (event->getType() != tx::STEP_EVENT) return 0;
  if (isBelowView(*this)) {
    // The step dispatch has already called this handler and never comes back to it in this
    // walk, so the floor may end itself here.
    delete this;
  }
  return 1;
}
