#pragma once

#include "tolvex/world/Object.h"

// A ledge from the fixed pool a game creates. It is HARD while it lies more than 2 cells below
// the player (so the player lands on it from above) and SPECTRAL otherwise (so the player jumps
// up through it). When it drops below the view it is moved back to a free column at the top
// edge, now and then with a power-up on it. Created with new by the Difficulty; the world owns it.
class Platform : public tx::Object {
 public:
  // Tries at a random column before a recycled platform takes any column.
  static constexpr int MAX_COLUMN_TRIES = 100;

  // Sprite "platform5", registered for steps, type "Platform"; not yet placed (call respawn).
  Platform();

  // Step: solidness and recycling (1). Collision with another platform: moved to the top (0).
  // Anything else: 0.
  int eventHandler(const tx::Event* event) override;

  // Moves the platform to a random column from 2 to w - 1 that no solid object occupies, at
  // y_offset cells below the top edge of the view. When MAX_COLUMN_TRIES columns are all taken
  // it logs a warning and keeps the last column tried. Takes the look of its level first when
  // the level changed.
  void respawn(int y_offset);

  int getLevel() const { return level; }
  void setLevel(int new_level) { level = new_level; }
  bool getChangeSprite() const { return change_sprite; }
  void setChangeSprite(bool new_change_sprite) { change_sprite = new_change_sprite; }

 private:
  // Logs the change and takes the sprite of the level.
  void takeLevelLook();
  // A random column from 2 to w - 1 where the platform, placed at row y, meets no solid object;
  // after MAX_COLUMN_TRIES taken columns, logs a warning and gives the last one tried.
  int findFreeColumn(int y) const;

  int level = 5;
  bool change_sprite = false;
};
