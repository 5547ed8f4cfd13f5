#pragma once

#include "tolvex/core/Music.h"
#include "tolvex/world/Object.h"

// The scrolling background and keeper of the climb: every step it raises the world boundary
// and the view by climb_speed cells, and on each new level it speeds the climb up and changes
// the background and the look of the platforms. Its constructor lays out the first platforms
// and starts the game music. Created with new by the title screen; the world owns it.
class Difficulty : public tx::Object {
 public:
  // The level a game starts at; levels count down to 1, the hardest.
  static constexpr int START_LEVEL = 5;
  // Cells the camera rises per step at the start of a game.
  static constexpr float START_CLIMB_SPEED = 0.075f;

  Difficulty();

  // Step: raises the camera (1). Anything else: 0.
  int eventHandler(const tx::Event* event) override;

  // Switches to new_level: platforms take its look when next recycled; levels 1 to 5 set the
  // speed and the background; the level display goes up by one.
  void setLevel(int new_level);
  int getLevel() const { return level; }

  // Cells per step. Setting it also sets the velocity to (0, -climb_speed), so the background
  // keeps still on the screen.
  float getClimbSpeed() const { return climb_speed; }
  void setClimbSpeed(float new_climb_speed);
  // The full speed of the level it is at: what a slowed climb returns to.
  float getLevelClimbSpeed() const;

  // The game music, owned by the resource manager; null when it failed to load.
  tx::Music* getMusic() const { return music; }

 private:
  float climb_speed = START_CLIMB_SPEED;
  int level = START_LEVEL;
  tx::Music* music = nullptr;
};

// Gains at most one level when height has passed the current level's threshold (500, 1000,
// 2500, 4000). Does nothing without exactly one Difficulty in the world.
void checkLevel(int height);
