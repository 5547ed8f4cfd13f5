#pragma once

#include "tolvex/world/Object.h"

namespace tx {
class EventKeyboard;
}

// The climber. Falls under gravity, jumps on Space or W, moves sideways while A or D is held,
// wraps around the left and right edges and dies below the bottom of the view. Its destructor
// stops the climb and opens the game-over screen. Created with new by the title screen; the
// world owns it.
class Player : public tx::Object {
 public:
  // Power-up kinds, as a Powerup numbers them.
  static constexpr int DOUBLE_JUMP = 1;
  static constexpr int SLOW_TIME = 2;
  static constexpr int GUARDIAN_ANGEL = 3;
  static constexpr int LOW_GRAVITY = 4;
  // Steps a power-up lasts.
  static constexpr int POWERUP_DURATION = 150;

  Player();
  // Plays "fall", stops the climb and its music, and creates the game-over screen.
  ~Player() override;

  // Keyboard (1 for every key), step (1) and out (1) events; 0 for anything else.
  int eventHandler(const tx::Event* event) override;

  // Ends the running power-up first, then runs the new kind for POWERUP_DURATION steps.
  void gainPowerup(int kind);
  // Ends the running power-up, giving back the climb speed that slow time halved.
  void resetPowerups();

  bool isInAir() const { return in_air; }
  int getPowerupTimer() const { return powerup_timer; }
  bool hasDoubleJump() const { return double_jump; }
  bool isJumpReady() const { return jump_ready; }
  bool hasSlowTime() const { return slow_time; }
  bool hasGuardianAngel() const { return guardian_angel; }
  bool hasLowGravity() const { return low_gravity; }

 private:
  void onKey(const tx::EventKeyboard& keyboard);
  void jump();
  void move(float dx);
  void step();
  void checkOut();

  bool in_air = false;
  int powerup_timer = 0;
  bool double_jump = false;
  bool jump_ready = true;
  bool slow_time = false;
  bool guardian_angel = false;
  bool low_gravity = false;
};
