#include "Powerup.h"

#include <cstdlib>

#include "Player.h"
#include "core/LogManager.h"
#include "core/ObjectListIterator.h"
#include "world/EventCollision.h"
#include "world/WorldManager.h"

Powerup::Powerup(float x, float y) {
  registerInterest(tx::STEP_EVENT);
  setType("Powerup");
  setPosition(tx::Vector(x, y));
  setSolidness(tx::SOFT);
  const int r = std::rand() % 100;
  if (r < 30) {
    kind = Player::DOUBLE_JUMP;
    setSprite("powerup1");
  } else if (r < 60) {
    kind = Player::SLOW_TIME;
    setSprite("powerup2");
  } else if (r < 90) {
    kind = Player::LOW_GRAVITY;
    setSprite("powerup4");
  } else {
    kind = Player::GUARDIAN_ANGEL;
    setSprite("powerup3");
  }
}

int Powerup::eventHandler(const tx::Event* event) {
  tx::WorldManager& world = tx::WorldManager::getInstance();
  if (event->getType() == tx::STEP_EVENT) {
    const tx::Box boundary = world.getBoundary();
    if (getPosition().getY() > boundary.getCorner().getY() + boundary.getVertical()) {
      world.markForDelete(this);
    }
    return 1;
  }
  if (event->getType() == tx::COLLISION_EVENT) {
    const auto* collision = dynamic_cast<const tx::EventCollision*>(event);
    if (collision == nullptr) return 0;
    if (collision->getObject1()->getType() != "Player" &&
        collision->getObject2()->getType() != "Player") {
      return 0;
    }
    tx::LogManager::getInstance().writeLog("PLAYER PICKED UP POWERUP");
    tx::ObjectList players = world.objectsOfType("Player");
    if (players.getCount() == 1) {
      tx::ObjectListIterator it(&players);
      auto* player = dynamic_cast<Player*>(it.currentObject());
      if (player != nullptr) player->gainPowerup(kind);
    }
    setActive(false);
    world.markForDelete(this);
    return 0;
  }
  return 0;
}
