#include "GameStart.h"

#include <SFML/Graphics/RenderWindow.hpp>

#include "Difficulty.h"
#include "Floor.h"
#include "GameWorld.h"
#include "LevelDisplay.h"
#include "Player.h"
#include "Points.h"
#include "PowerDisplay.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/display/EventKeyboard.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/world/WorldManager.h"

namespace {

// The height, level and power-up displays along the bottom of the view.
void createDisplays() {
  auto* points = new Points();
  points->setLocation(tx::BOTTOM_CENTER);
  points->setViewString("Height");
  points->setColor(Points::COLOR);
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

// The best height goes under the menu, this many rows below the middle of the title.
constexpr float BEST_ROW = 9.0f;
const char* const WINDOW_TITLE = "Skyward";

// The splash screen's window keeps the engine's name; the game's has the game's.
void nameWindow() {
  sf::RenderWindow* window = tx::DisplayManager::getInstance().getWindow();
  if (window != nullptr) window->setTitle(WINDOW_TITLE);
}

}  // namespace

GameStart::GameStart() {
  setType("GameStart");
  setSprite("gamestart");
  setLocation(tx::CENTER_CENTER);
  registerInterest(tx::KEYBOARD_EVENT);
  setSolidness(tx::SPECTRAL);
  nameWindow();
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

int GameStart::draw() {
  const int drawn = Object::draw();  // NOLINT(bugprone-parent-virtual-call)
  return drawn + drawBestHeight(getPosition() + tx::Vector(0.0f, BEST_ROW));
}

void GameStart::start() {
  // The same pause objects serve every game: a second pair would make one press pause twice.
  allowPausing(true);
  placeCamera(0.0f);

  new Player();
  new Floor();
  new Difficulty();
  createDisplays();

  setActive(false);
  if (music != nullptr) music->stop();
}
