#include "GameStart.h"

#include "Difficulty.h"
#include "Floor.h"
#include "GameWorld.h"
#include "LevelDisplay.h"
#include "Player.h"
#include "Points.h"
#include "PowerDisplay.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/Pause.h"
#include "tolvex/display/EventKeyboard.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/world/WorldManager.h"

namespace {

// The height, level and power-up displays along the bottom of the view.
void createDisplays() {
  auto* points = new Points();
  points->setLocation(tx::BOTTOM_CENTER);
  points->setViewString("Height");
  points->setColor(tx::YELLOW);
  points->registerInterest(tx::STEP_EVENT);

  auto* level = new LevelDisplay();
  level->setLocation(tx::BOTTOM_LEFT);
  level->setViewString("Level");
  level->setColor(tx::GREEN);
  level->setValue(1);

  auto* power = new PowerDisplay();
  power->setLocation(tx::BOTTOM_RIGHT);
  power->setViewString("Powerup: None");
  power->setColor(tx::GREEN);
  power->setType("PowerupDisplay");
  power->setDrawValue(false);
}

}  // namespace

GameStart::GameStart() {
  setType("GameStart");
  setSprite("gamestart");
  setLocation(tx::CENTER_CENTER);
  registerInterest(tx::KEYBOARD_EVENT);
  setSolidness(tx::SPECTRAL);
  music = tx::ResourceManager::getInstance().getMusic("menu music");
  if (music != nullptr) {
    music->getMusic()->setLoop(true);
    music->play(true);
  }
}

int GameStart::eventHandler(const tx::Event* event) {
  if (event->getType() != tx::KEYBOARD_EVENT) return 0;
  const auto* keyboard = dynamic_cast<const tx::EventKeyboard*>(event);
  if (keyboard == nullptr) return 0;
  switch (keyboard->getKey()) {
    case tx::KeyCode::P: {
      tx::Sound* sound = tx::ResourceManager::getInstance().getSound("startup");
      if (sound != nullptr) sound->play(false);
      start();
      break;
    }
    case tx::KeyCode::Q:
      tx::GameManager::getInstance().setGameOver(true);
      break;
    default:
      break;
  }
  return 1;
}

int GameStart::draw() { return Object::draw(); }  // NOLINT(bugprone-parent-virtual-call)

void GameStart::start() {
  tx::WorldManager& world = tx::WorldManager::getInstance();
  // One pause object serves every game: game over keeps it, and a second one would make a
  // single press of F10 pause the game once per object.
  if (world.objectsOfType("Pause").isEmpty()) {
    new tx::Pause(tx::KeyCode::F10);
  }

  placeCamera(0.0f);

  new Player();
  new Floor();
  new Difficulty();
  createDisplays();

  setActive(false);
  if (music != nullptr) music->stop();
}
