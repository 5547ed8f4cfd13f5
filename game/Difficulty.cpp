#include "Difficulty.h"

#include "Platform.h"
#include "core/LogManager.h"
#include "core/ObjectListIterator.h"
#include "display/EventView.h"
#include "display/ResourceManager.h"
#include "world/WorldManager.h"

namespace {

constexpr int PLATFORMS_PER_ROW = 6;
constexpr int ROW_SPACING = 5;
constexpr float MUSIC_VOLUME = 50.0f;

// Climb speed and background of levels 1 to 5; index 0 is unused.
constexpr float LEVEL_SPEED[] = {0.0f, 0.3f, 0.25f, 0.2f, 0.15f, 0.075f};
const char* const LEVEL_BACKGROUND[] = {
    "", "background5", "background4", "background3", "background2", "background1"};

}  // namespace

Difficulty::Difficulty() {
  registerInterest(tx::STEP_EVENT);
  level = START_LEVEL;
  setType("Difficulty");
  setSprite("background1");
  setSolidness(tx::SPECTRAL);
  setAltitude(0);

  tx::WorldManager& world = tx::WorldManager::getInstance();
  const tx::Box boundary = world.getBoundary();
  const int w = static_cast<int>(boundary.getHorizontal());
  const int h = static_cast<int>(boundary.getVertical());
  setPosition(tx::Vector(static_cast<float>(w / 2), static_cast<float>(h / 2)));

  climb_speed = START_CLIMB_SPEED;
  setVelocity(tx::Vector(0.0f, -climb_speed));

  if (level == START_LEVEL) {
    const float height = boundary.getVertical();
    for (int row = static_cast<int>(-0.5f * height); row < static_cast<int>(0.5f * height);
         row += ROW_SPACING) {
      for (int i = 0; i < PLATFORMS_PER_ROW; ++i) {
        Platform* platform = new Platform();
        platform->respawn(row);
        platform->setLevel(START_LEVEL);
      }
    }
  }

  music = tx::ResourceManager::getInstance().getMusic("game music");
  if (music != nullptr) {
    music->getMusic()->setLoop(true);
    music->getMusic()->setVolume(MUSIC_VOLUME);
    music->play(true);
  }
}

int Difficulty::eventHandler(const tx::Event* event) {
  if (event->getType() != tx::STEP_EVENT) return 0;
  tx::WorldManager& world = tx::WorldManager::getInstance();
  const tx::Box boundary = world.getBoundary();
  const tx::Box raised(tx::Vector(0.0f, boundary.getCorner().getY() - climb_speed),
                       boundary.getHorizontal(), boundary.getVertical());
  world.setBoundary(raised);
  world.setView(raised);
  return 1;
}

void Difficulty::setLevel(int new_level) {
  level = new_level;
  tx::WorldManager& world = tx::WorldManager::getInstance();
  tx::ObjectList platforms = world.objectsOfType("Platform");
  for (tx::ObjectListIterator it(&platforms); !it.isDone(); it.next()) {
    auto* platform = dynamic_cast<Platform*>(it.currentObject());
    if (platform == nullptr) continue;
    platform->setLevel(level);
    platform->setChangeSprite(true);
  }
  if (level >= 1 && level <= START_LEVEL) {
    climb_speed = LEVEL_SPEED[level];
    setVelocity(tx::Vector(0.0f, -climb_speed));
    setSprite(LEVEL_BACKGROUND[level]);
  }
  const tx::EventView level_up("Level", 1, true);
  world.onEvent(&level_up);
}

void checkLevel(int height) {
  tx::ObjectList list = tx::WorldManager::getInstance().objectsOfType("Difficulty");
  if (list.getCount() != 1) return;
  tx::ObjectListIterator it(&list);
  auto* difficulty = dynamic_cast<Difficulty*>(it.currentObject());
  if (difficulty == nullptr) return;
  switch (difficulty->getLevel()) {
    case 5:
      if (height > 500) difficulty->setLevel(4);
      break;
    case 4:
      tx::LogManager::getInstance().writeLog("Checking!");
      if (height > 1000) {
        tx::LogManager::getInstance().writeLog("Yup");
        difficulty->setLevel(3);
      }
      break;
    case 3:
      if (height > 2500) difficulty->setLevel(2);
      break;
    case 2:
      if (height > 4000) difficulty->setLevel(1);
      break;
    default:
      break;
  }
}
