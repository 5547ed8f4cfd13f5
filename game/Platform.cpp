#include "Platform.h"

#include <cstdlib>
#include <string>

#include "GameWorld.h"
#include "Powerup.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/world/EventCollision.h"
#include "tolvex/world/WorldManager.h"

namespace {

// Percentage of recycled platforms that carry a power-up.
constexpr int POWERUP_CHANCE = 3;
// A ledge this many cells below the player's centre is under its feet.
constexpr float SOLID_BELOW = 2.0f;
// Recycled platforms sit in columns 2 to w - 1.
constexpr int FIRST_COLUMN = 2;

}  // namespace

Platform::Platform() {
  setSprite("platform5");
  registerInterest(tx::STEP_EVENT);
  setType("Platform");
}

int Platform::eventHandler(const tx::Event* event) {
  const std::string label = event->getType();
  if (label == tx::STEP_EVENT) {
    const tx::Object* player = findSingle<tx::Object>("Player");
    if (player != nullptr) {
      const bool under_feet = getPosition().getY() > player->getPosition().getY() + SOLID_BELOW;
      setSolidness(under_feet ? tx::HARD : tx::SPECTRAL);
    }
    if (isBelowView(*this)) respawn(0);
    return 1;
  }
  const auto* collision = dynamic_cast<const tx::EventCollision*>(event);
  if (label == tx::COLLISION_EVENT && collision != nullptr &&
      collision->getObject1()->getType() == "Platform" &&
      collision->getObject2()->getType() == "Platform") {
    tx::LogManager::getInstance().writeLog("COLLIDED");
    respawn(0);
  }
  return 0;
}

void Platform::respawn(int y_offset) {
  if (change_sprite) takeLevelLook();
  const tx::Box boundary = tx::WorldManager::getInstance().getBoundary();
  const int y = static_cast<int>(boundary.getCorner().getY()) + y_offset;
  const int x = findFreeColumn(y);
  setPosition(tx::Vector(static_cast<float>(x), static_cast<float>(y)));
  if (std::rand() % 100 < POWERUP_CHANCE) {
    new Powerup(static_cast<float>(x), static_cast<float>(y - 1));
  }
}

void Platform::takeLevelLook() {
  tx::LogManager& log = tx::LogManager::getInstance();
  log.writeLog("CHANGING PLAT SPRITE");
  log.writeLog("%i", level);
  if (level >= 1 && level <= 5) setSprite("platform" + std::to_string(level));
  change_sprite = false;
}

int Platform::findFreeColumn(int y) const {
  tx::WorldManager& world = tx::WorldManager::getInstance();
  const int w = static_cast<int>(world.getBoundary().getHorizontal());
  // A view narrower than three cells has no column from 2 to w - 1; the platform then stays
  // at column 2 rather than dividing by zero.
  const int columns = w - FIRST_COLUMN > 0 ? w - FIRST_COLUMN : 1;
  int x = std::rand() % columns + FIRST_COLUMN;
  int tries = 1;
  while (!world.getCollisions(this, tx::Vector(static_cast<float>(x), static_cast<float>(y)))
              .isEmpty()) {
    if (tries >= MAX_COLUMN_TRIES) {
      tx::LogManager::getInstance().writeLog(
          "Platform::respawn(): Warning! No free column after %d tries, using column %d.", tries,
          x);
      break;
    }
    x = std::rand() % columns + FIRST_COLUMN;
    ++tries;
  }
  return x;
}
