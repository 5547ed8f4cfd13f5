#include "Player.h"

#include <algorithm>

#include "Difficulty.h"
#include "GameOver.h"
#include "GameWorld.h"
#include "PowerDisplay.h"
#include "tolvex/core/GameManager.h"
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
// Slow time runs the climb at this part of its speed.
constexpr float SLOW_TIME_FACTOR = 0.5f;
constexpr int MILLISECONDS_PER_SECOND = 1000;
constexpr int PLAYER_ALTITUDE = 3;
// The player starts this many cells above the floor.
constexpr float START_ABOVE_FLOOR = 3.0f;

void playSound(const char* label) {
  tx::Sound* sound = tx::ResourceManager::getInstance().getSound(label);
  if (sound != nullptr) sound->play(false);
}

// What the log says when a kind is picked up, and what the display calls it; indexed by kind.
struct PowerupKind {
  const char* log_line;
  const char* name;
};
constexpr PowerupKind POWERUP_KINDS[] = {
    {"", "None"},
    {"Got double jump", "Double Jump"},
    {"Got slow down time", "Slow Time"},
    {"Got guardian angel", "Guardian Angel"},
    {"Got low grav", "Low Gravity"},
};

bool isPowerupKind(int kind) { return kind >= Player::DOUBLE_JUMP && kind <= Player::LOW_GRAVITY; }

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
    case tx::KeyCode::UP_ARROW:
      if (action == tx::KeyAction::PRESSED) jump();
      break;
    case tx::KeyCode::A:
    case tx::KeyCode::LEFT_ARROW:
      if (action == tx::KeyAction::HELD) move(-MOVE_STEP);
      break;
    case tx::KeyCode::D:
    case tx::KeyCode::RIGHT_ARROW:
      if (action == tx::KeyAction::HELD) move(MOVE_STEP);
      break;
    case tx::KeyCode::Q:
      // The loop ends after this step and the program leaves through the managers' shut-down.
      if (action == tx::KeyAction::PRESSED) tx::GameManager::getInstance().setGameOver(true);
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
  if (powerup_timer > 0) countDownPowerup();
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
  // An unknown kind still runs its time, with nothing to show for it.
  if (!isPowerupKind(kind)) return;
  tx::LogManager::getInstance().writeLog("%s", POWERUP_KINDS[kind].log_line);
  powerup_kind = kind;
  double_jump = kind == DOUBLE_JUMP;
  slow_time = kind == SLOW_TIME;
  guardian_angel = kind == GUARDIAN_ANGEL;
  low_gravity = kind == LOW_GRAVITY;
  Difficulty* difficulty = findSingle<Difficulty>("Difficulty");
  if (slow_time && difficulty != nullptr)
    difficulty->setClimbSpeed(difficulty->getClimbSpeed() * SLOW_TIME_FACTOR);
  showPowerup();
}

void Player::resetPowerups() {
  tx::LogManager::getInstance().writeLog("RESET");
  powerup_kind = 0;
  showPowerup();
  double_jump = false;
  jump_ready = true;
  guardian_angel = false;
  low_gravity = false;
  // The level may have changed while the climb was slowed: it goes back to the speed of the
  // level it is at now.
  Difficulty* difficulty = findSingle<Difficulty>("Difficulty");
  if (slow_time && difficulty != nullptr)
    difficulty->setClimbSpeed(difficulty->getLevelClimbSpeed());
  slow_time = false;
}

int Player::getPowerupSeconds() const {
  const int frame_time = tx::GameManager::getInstance().getFrameTime();
  return (powerup_timer * std::max(frame_time, 0) + MILLISECONDS_PER_SECOND - 1) /
         MILLISECONDS_PER_SECOND;
}

void Player::countDownPowerup() {
  --powerup_timer;
  if (powerup_timer > 0) {
    showPowerup();
    return;
  }
  if (powerup_kind != 0) playSound("powerdown");
  resetPowerups();
}

void Player::showPowerup() const {
  setPowerupText(POWERUP_KINDS[powerup_kind].name, powerup_kind == 0 ? 0 : getPowerupSeconds());
}
