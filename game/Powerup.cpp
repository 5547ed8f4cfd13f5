#include "Powerup.h"

#include <cstdlib>

#include "GameWorld.h"
#include "Player.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/world/EventCollision.h"
#include "tolvex/world/WorldManager.h"

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
  if (event->getType() == tx::STEP_EVENT) {
    if (isBelowView(*this)) tx::WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  const auto* collision = dynamic_cast<const tx::EventCollision*>(event);
  if (event->getType() == tx::COLLISION_EVENT && collision != nullptr &&
      (collision->getObject1()->getType() == "Player" ||
       collision->getObject2()->getType() == "Player")) {
    pickUp();
  }
  return 0;
}

void Powerup::pickUp() {
  tx::LogManager::getInstance().writeLog("PLAYER PICKED UP POWERUP");
  auto* player = findSingle<Player>("Player");
  if (player != nullptr) player->gainPowerup(kind);
  setActive(false);
  tx::WorldManager::getInstance().markForDelete(this);
}
