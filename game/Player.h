#pragma once

#include "tolvex/world/Object.h"

namespace tx {
class EventKeyboard;
}

// The climber. Falls under gravity, jumps on Space, W or Up, moves sideways while A or Left,
// D or Right is held, wraps around the left and right edges and dies below the bottom of the
// view. Q ends the program through the game loop's end. Its destructor stops the climb and opens
// the game-over screen. Created with new by the title screen; the world owns it.
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

  // Ends the running power-up first, then runs the new kind for POWERUP_DURATION steps, shown
  // with its seconds left. "powerdown" plays when it runs out.
  void gainPowerup(int kind);
  // Ends the running power-up; a climb slowed by slow time goes back to its level's speed.
  void resetPowerups();

  bool isInAir() const { return in_air; }
  int getPowerupTimer() const { return powerup_timer; }
  // Whole seconds left of the running power-up at the game's frame time, rounded up.
  int getPowerupSeconds() const;
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
  void countDownPowerup();
  // The running power-up's name and seconds left on the power-up display; "None" when none.
  void showPowerup() const;

  bool in_air = false;
  int powerup_timer = 0;
  // The running kind, 0 for none.
  int powerup_kind = 0;
  bool double_jump = false;
  bool jump_ready = true;
  bool slow_time = false;
  bool guardian_angel = false;
  bool low_gravity = false;
};
