#include "GameOver.h"

#include "GameStart.h"
#include "GameWorld.h"
#include "Points.h"
#include "tolvex/core/Event.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/display/Sprite.h"
#include "tolvex/world/WorldManager.h"

namespace {

// The best height goes under the sprite, this many rows below the middle of the screen.
constexpr float BEST_ROW = 7.0f;

bool belongsToGame(const std::string& type) {
  return type == "Platform" || type == "ViewObject" || type == "Floor" || type == "Difficulty" ||
         type == "Powerup" || type == "PowerupDisplay";
}

}  // namespace

GameOver::GameOver() {
  setType("GameOver");
  if (setSprite("gameover") == 0) {
    const tx::Sprite* sprite = getAnimation().getSprite();
    time_to_live = sprite->getFrameCount() * sprite->getSlowdown();
  } else {
    time_to_live = 0;
  }
  placeCamera(0.0f);
  setLocation(tx::CENTER_CENTER);
  registerInterest(tx::STEP_EVENT);
  allowPausing(false);
}

GameOver::~GameOver() {
  tx::WorldManager& world = tx::WorldManager::getInstance();
  // At shut-down the world deletes everything itself, and the title has nothing to return to.
  if (!world.isStarted()) return;
  tx::ObjectList all = world.getAllObjects(true);
  for (tx::ObjectListIterator it(&all); !it.isDone(); it.next()) {
    tx::Object* object = it.currentObject();
    if (belongsToGame(object->getType())) {
      world.markForDelete(object);
    } else if (object->getType() == "GameStart") {
      object->setActive(true);
      auto* title = dynamic_cast<GameStart*>(object);
      if (title != nullptr && title->getMusic() != nullptr) title->getMusic()->play(true);
    }
  }
}

int GameOver::eventHandler(const tx::Event* event) {
  if (event->getType() != tx::STEP_EVENT) return 0;
  --time_to_live;
  if (time_to_live <= 0) tx::WorldManager::getInstance().markForDelete(this);
  return 1;
}

int GameOver::draw() {
  const int drawn = Object::draw();  // NOLINT(bugprone-parent-virtual-call)
  return drawn + drawBestHeight(getPosition() + tx::Vector(0.0f, BEST_ROW));
}
