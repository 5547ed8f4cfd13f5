#include "Player.h"

#include <tolvex/core/LogManager.h>
#include <tolvex/core/Sound.h>
#include <tolvex/display/EventView.h>
#include <tolvex/display/ResourceManager.h>
#include <tolvex/world/EventOut.h>
#include <tolvex/world/WorldManager.h>

namespace {

// Cells per step.
constexpr float SPEED = 0.5f;

}  // namespace

Player::Player(tx::Vector start) {
  setType("Player");
  // The sprite's size becomes the player's box.
  setSprite("player");
  setPosition(start);
  setVelocity(tx::Vector(SPEED, 0.0f));
  registerInterest(tx::KEYBOARD_EVENT);
}

int Player::eventHandler(const tx::Event* event) {
  if (const auto* key = dynamic_cast<const tx::EventKeyboard*>(event)) {
    steer(*key);
    return 1;
  }
  if (const auto* collision = dynamic_cast<const tx::EventCollision*>(event)) {
    bump(*collision);
    return 1;
  }
  if (dynamic_cast<const tx::EventOut*>(event) != nullptr) {
    turnRound();
    return 1;
  }
  return 0;
}

void Player::steer(const tx::EventKeyboard& key) {
  if (key.getAction() != tx::KeyAction::PRESSED) return;
  switch (key.getKey()) {
    case tx::KeyCode::LEFT_ARROW:
      setVelocity(tx::Vector(-SPEED, 0.0f));
      break;
    case tx::KeyCode::RIGHT_ARROW:
      setVelocity(tx::Vector(SPEED, 0.0f));
      break;
    case tx::KeyCode::UP_ARROW:
      setVelocity(tx::Vector(0.0f, -SPEED));
      break;
    case tx::KeyCode::DOWN_ARROW:
      setVelocity(tx::Vector(0.0f, SPEED));
      break;
    default:
      break;
  }
}

void Player::bump(const tx::EventCollision& collision) {
  // The world refused the move into a solid object: stay here until the next key.
  setVelocity(tx::Vector());
  tx::Sound* sound = tx::ResourceManager::getInstance().getSound("bump");
  if (sound != nullptr) sound->play();
  // View objects labelled "Bumps" add 1 to their value.
  tx::EventView one_more("Bumps", 1, true);
  tx::WorldManager::getInstance().onEvent(&one_more);
  const tx::Object* other =
      collision.getObject1() == this ? collision.getObject2() : collision.getObject1();
  tx::LogManager::getInstance().writeLog("Player: bumped into the %s", other->getType().c_str());
}

void Player::turnRound() {
  tx::Vector velocity = getVelocity();
  velocity.scale(-1.0f);
  setVelocity(velocity);
}
