#include "Platform.h"

#include <cstdlib>
#include <string>

#include "Powerup.h"
#include "core/LogManager.h"
#include "core/ObjectListIterator.h"
#include "world/EventCollision.h"
#include "world/WorldManager.h"

namespace {

// Percentage of recycled platforms that carry a power-up.
constexpr int POWERUP_CHANCE = 3;
// A ledge this many cells below the player's centre is under its feet.
constexpr float SOLID_BELOW = 2.0f;

}  // namespace

Platform::Platform() {
  setSprite("platform5");
  registerInterest(tx::STEP_EVENT);
  setType("Platform");
}

int Platform::eventHandler(const tx::Event* event) {
  const std::string label = event->getType();
  if (label == tx::STEP_EVENT) {
    tx::WorldManager& world = tx::WorldManager::getInstance();
    tx::ObjectList players = world.objectsOfType("Player");
    if (players.getCount() == 1) {
      tx::ObjectListIterator it(&players);
      const float player_y = it.currentObject()->getPosition().getY();
      setSolidness(getPosition().getY() > player_y + SOLID_BELOW ? tx::HARD : tx::SPECTRAL);
    }
    const tx::Box boundary = world.getBoundary();
    if (getPosition().getY() > boundary.getCorner().getY() + boundary.getVertical()) respawn(0);
    return 1;
  }
  if (label == tx::COLLISION_EVENT) {
    const auto* collision = dynamic_cast<const tx::EventCollision*>(event);
    if (collision != nullptr && collision->getObject1()->getType() == "Platform" &&
        collision->getObject2()->getType() == "Platform") {
      tx::LogManager::getInstance().writeLog("COLLIDED");
      respawn(0);
    }
    return 0;
  }
  return 0;
}

void Platform::respawn(int y_offset) {
  tx::LogManager& log = tx::LogManager::getInstance();
  if (change_sprite) {
    log.writeLog("CHANGING PLAT SPRITE");
    log.writeLog("%i", level);
    if (level >= 1 && level <= 5) setSprite("platform" + std::to_string(level));
    change_sprite = false;
  }

  tx::WorldManager& world = tx::WorldManager::getInstance();
  const tx::Box boundary = world.getBoundary();
  const int w = static_cast<int>(boundary.getHorizontal());
  const int y = static_cast<int>(boundary.getCorner().getY()) + y_offset;
  // A view narrower than three cells has no column from 2 to w - 1; the platform then stays
  // at column 2 rather than dividing by zero.
  const int columns = w - 2 > 0 ? w - 2 : 1;
  int x = std::rand() % columns + 2;
  int tries = 1;
  while (!world.getCollisions(this, tx::Vector(static_cast<float>(x), static_cast<float>(y)))
              .isEmpty()) {
    if (tries >= MAX_COLUMN_TRIES) {
      log.writeLog("Platform::respawn(): Warning! No free column after %d tries, using column %d.",
                   tries, x);
      break;
    }
    x = std::rand() % columns + 2;
    ++tries;
  }
  setPosition(tx::Vector(static_cast<float>(x), static_cast<float>(y)));

  if (std::rand() % 100 < POWERUP_CHANCE) {
    new Powerup(static_cast<float>(x), static_cast<float>(y - 1));
  }
}
