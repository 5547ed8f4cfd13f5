#include "Difficulty.h"

#include <limits>

#include "GameWorld.h"
#include "Platform.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/display/EventView.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/world/WorldManager.h"

namespace {

constexpr int PLATFORMS_PER_ROW = 6;
constexpr int ROW_SPACING = 5;
constexpr float MUSIC_VOLUME = 50.0f;
// The one level whose checks have always been written to the log.
constexpr int LOGGED_LEVEL = 4;

// What a level brings, and the height beyond which the next, harder level begins.
struct Level {
  const char* background;
  float climb_speed;
  int next_above;
};

// Levels 1 to 5, indexed by level; index 0 is unused, and no height leaves level 1.
constexpr Level LEVELS[] = {
    {"", 0.0f, 0},
    {"background5", 0.3f, std::numeric_limits<int>::max()},
    {"background4", 0.25f, 4000},
    {"background3", 0.2f, 2500},
    {"background2", 0.15f, 1000},
    {"background1", Difficulty::START_CLIMB_SPEED, 500},
};

bool isLevel(int level) { return level >= 1 && level <= Difficulty::START_LEVEL; }

// Rows of platforms every ROW_SPACING cells, from half a view above the top edge down to the
// middle of the view.
void seedPlatforms() {
  const float height = tx::WorldManager::getInstance().getBoundary().getVertical();
  for (int row = static_cast<int>(-0.5f * height); row < static_cast<int>(0.5f * height);
       row += ROW_SPACING) {
    for (int i = 0; i < PLATFORMS_PER_ROW; ++i) {
      auto* platform = new Platform();
      platform->respawn(row);
      platform->setLevel(Difficulty::START_LEVEL);
    }
  }
}

// The game music, looping at half volume; null when it failed to load.
tx::Music* startGameMusic() {
  tx::Music* music = tx::ResourceManager::getInstance().getMusic("game music");
  if (music != nullptr) {
    music->getMusic()->setLoop(true);
    music->getMusic()->setVolume(MUSIC_VOLUME);
    music->play(true);
  }
  return music;
}

}  // namespace

Difficulty::Difficulty() {
  registerInterest(tx::STEP_EVENT);
  setType("Difficulty");
  setSprite(LEVELS[START_LEVEL].background);
  setSolidness(tx::SPECTRAL);
  setAltitude(0);
  setPosition(startingCell());
  setClimbSpeed(START_CLIMB_SPEED);
  seedPlatforms();
  music = startGameMusic();
}

int Difficulty::eventHandler(const tx::Event* event) {
  if (event->getType() != tx::STEP_EVENT) return 0;
  placeCamera(tx::WorldManager::getInstance().getBoundary().getCorner().getY() - climb_speed);
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
  if (isLevel(level)) {
    setClimbSpeed(LEVELS[level].climb_speed);
    setSprite(LEVELS[level].background);
  }
  const tx::EventView level_up("Level", 1, true);
  world.onEvent(&level_up);
}

void Difficulty::setClimbSpeed(float new_climb_speed) {
  climb_speed = new_climb_speed;
  setVelocity(tx::Vector(0.0f, -climb_speed));
}

float Difficulty::getLevelClimbSpeed() const {
  return isLevel(level) ? LEVELS[level].climb_speed : climb_speed;
}

void checkLevel(int height) {
  Difficulty* difficulty = findSingle<Difficulty>("Difficulty");
  if (difficulty == nullptr) return;
  const int level = difficulty->getLevel();
  if (!isLevel(level)) return;
  tx::LogManager& log = tx::LogManager::getInstance();
  const bool logged = level == LOGGED_LEVEL;
  if (logged) log.writeLog("Checking!");
  if (height <= LEVELS[level].next_above) return;
  if (logged) log.writeLog("Yup");
  difficulty->setLevel(level - 1);
}
