#include "Player.h"

#include <cstdlib>

#include "Difficulty.h"
#include "GameOver.h"
#include "GameWorld.h"
#include "PowerDisplay.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/EventKeyboard.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/world/WorldManager.h"

namespace {

const tx::Vector GRAVITY(0.0f, 0.1f);
const tx::Vector JUMP_VELOCITY(0.0f, -1.0f);
constexpr float MAX_FALL_SPEED = 1.0f;
constexpr float MAX_FALL_SPEED_LOW_GRAVITY = 0.2f;
constexpr float MOVE_STEP = 0.8f;
constexpr float ANGEL_LIFT = 25.0f;
constexpr int PLAYER_ALTITUDE = 3;
// The player starts this many cells above the floor.
constexpr float START_ABOVE_FLOOR = 3.0f;

void playSound(const char* label) {
  tx::Sound* sound = tx::ResourceManager::getInstance().getSound(label);
  if (sound != nullptr) sound->play(false);
}

// Scales the climb speed of the one Difficulty, if there is one, keeping its background still
// on the screen.
void scaleClimbSpeed(float factor) {
  Difficulty* difficulty = findSingle<Difficulty>("Difficulty");
  if (difficulty == nullptr) return;
  difficulty->setClimbSpeed(difficulty->getClimbSpeed() * factor);
  difficulty->setVelocity(tx::Vector(0.0f, -difficulty->getClimbSpeed()));
}

}  // namespace

Player::Player() {
  setSprite("player");
  registerInterest(tx::KEYBOARD_EVENT);
  registerInterest(tx::STEP_EVENT);
  setType("Player");
  setPosition(startingCell() - tx::Vector(0.0f, START_ABOVE_FLOOR));
  setAltitude(PLAYER_ALTITUDE);
  resetPowerups();
}

Player::~Player() {
  playSound("fall");
  tx::LogManager::getInstance().writeLog("Player Dead.");
  Difficulty* difficulty = findSingle<Difficulty>("Difficulty");
  if (difficulty != nullptr) {
    difficulty->setClimbSpeed(0.0f);
    difficulty->setVelocity(tx::Vector(0.0f, 0.0f));
    // Straight through the audio library, so no stop line is logged.
    tx::Music* music = difficulty->getMusic();
    if (music != nullptr) music->getMusic()->stop();
  }
  // At shut-down the world no longer takes new objects: a game-over screen would only leak.
  if (tx::WorldManager::getInstance().isStarted()) new GameOver();
}

int Player::eventHandler(const tx::Event* event) {
  const std::string label = event->getType();
  if (label == tx::KEYBOARD_EVENT) {
    const auto* keyboard = dynamic_cast<const tx::EventKeyboard*>(event);
    if (keyboard == nullptr) return 0;
    onKey(*keyboard);
    return 1;
  }
  if (label == tx::STEP_EVENT) {
    step();
    return 1;
  }
  if (label == tx::OUT_EVENT) {
    checkOut();
    return 1;
  }
  return 0;
}

void Player::onKey(const tx::EventKeyboard& keyboard) {
  const tx::KeyAction action = keyboard.getAction();
  switch (keyboard.getKey()) {
    case tx::KeyCode::SPACE:
    case tx::KeyCode::W:
      if (action == tx::KeyAction::PRESSED) jump();
      break;
    case tx::KeyCode::A:
      if (action == tx::KeyAction::HELD) move(-MOVE_STEP);
      break;
    case tx::KeyCode::D:
      if (action == tx::KeyAction::HELD) move(MOVE_STEP);
      break;
    case tx::KeyCode::Q:
      // Quitting mid-climb leaves at once, without the managers' shut-down; the log is
      // already flushed line by line.
      if (action == tx::KeyAction::PRESSED) std::exit(0);
      break;
    default:
      break;
  }
}

void Player::step() {
  tx::WorldManager& world = tx::WorldManager::getInstance();
  const tx::Vector where(getPosition().getX(), getPosition().getY() + getVelocity().getY());
  if (world.getCollisions(this, where).isEmpty()) {
    in_air = true;
    setAcceleration(GRAVITY);
    setSprite("playerj");
    if (getVelocity().getY() > MAX_FALL_SPEED) setVelocity(tx::Vector(0.0f, MAX_FALL_SPEED));
    if (low_gravity && getVelocity().getY() > MAX_FALL_SPEED_LOW_GRAVITY) {
      setVelocity(tx::Vector(0.0f, MAX_FALL_SPEED_LOW_GRAVITY));
    }
  } else {
    // The velocity is kept: the world's movement refuses to push the player into a ledge.
    in_air = false;
    jump_ready = true;
    setAcceleration(tx::Vector(0.0f, 0.0f));
    setSprite("player");
  }
  if (powerup_timer > 0) {
    --powerup_timer;
    if (powerup_timer == 0) resetPowerups();
  }
  checkOut();
}

void Player::jump() {
  tx::LogManager::getInstance().writeLog("%i", double_jump ? 1 : 0);
  if (in_air) {
    if (!(double_jump && jump_ready)) return;
    jump_ready = false;
  }
  setAcceleration(GRAVITY);
  setVelocity(JUMP_VELOCITY);
  in_air = true;
  playSound("jump");
}

void Player::move(float dx) {
  const tx::Vector target(getPosition().getX() + dx, getPosition().getY());
  setPosition(target);
  // Moving to where it already stands still reports what it touches there, so walking
  // picks up power-ups.
  tx::WorldManager::getInstance().moveObject(this, target);
}

void Player::checkOut() {
  tx::WorldManager& world = tx::WorldManager::getInstance();
  tx::Vector where = getPosition();
  if (isBelowView(*this)) {
    if (guardian_angel) {
      setPosition(tx::Vector(where.getX(), where.getY() - ANGEL_LIFT));
    } else {
      world.markForDelete(this);
    }
    return;
  }
  const float w = world.getBoundary().getHorizontal();
  if (where.getX() < 0.0f) {
    where.setX(w - 1.0f);
    setPosition(where);
  }
  if (where.getX() > w) {
    where.setX(0.0f);
    setPosition(where);
  }
}

void Player::gainPowerup(int kind) {
  resetPowerups();
  powerup_timer = POWERUP_DURATION;
  tx::LogManager& log = tx::LogManager::getInstance();
  switch (kind) {
    case DOUBLE_JUMP:
      log.writeLog("Got double jump");
      setPowerupText("Double Jump");
      double_jump = true;
      break;
    case SLOW_TIME:
      log.writeLog("Got slow down time");
      slow_time = true;
      setPowerupText("Slow Time");
      scaleClimbSpeed(0.5f);
      break;
    case GUARDIAN_ANGEL:
      log.writeLog("Got guardian angel");
      guardian_angel = true;
      setPowerupText("Guardian Angel");
      break;
    case LOW_GRAVITY:
      log.writeLog("Got low grav");
      low_gravity = true;
      setPowerupText("Low Gravity");
      break;
    default:
      break;
  }
}

void Player::resetPowerups() {
  tx::LogManager::getInstance().writeLog("RESET");
  setPowerupText("None");
  double_jump = false;
  jump_ready = true;
  guardian_angel = false;
  low_gravity = false;
  if (slow_time) scaleClimbSpeed(2.0f);
  slow_time = false;
}
