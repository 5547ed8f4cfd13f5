#pragma once

#include <string>

#include "tolvex/world/Box.h"
#include "tolvex/world/Vector.h"

namespace tx {

class Sprite;

// Which frame of which sprite an object shows, and when it moves on. The sprite is not owned.
class Animation {
 public:
  Animation() = default;
  virtual ~Animation() = default;
  // Copies show the same sprite, which neither owns.
  Animation(const Animation&) = default;
  Animation& operator=(const Animation&) = default;

  // Null is allowed (the object then shows nothing and the name is kept). Index returns to 0.
  void setSprite(Sprite* new_sprite);
  Sprite* getSprite() const { return sprite; }
  // The sprite's label, as serialization writes it; setSprite() sets it.
  void setName(std::string new_name);
  std::string getName() const { return name; }
  // The frame drawn next, from 0; draw() wraps it round to 0 after the sprite's last frame.
  void setIndex(int new_index);
  int getIndex() const { return index; }
  // Draws of the current frame so far; the frame moves on when this reaches the sprite's
  // slowdown. -1 freezes the animation on its current frame.
  void setSlowdownCount(int new_slowdown_count);
  int getSlowdownCount() const { return slowdown_count; }
  // True when sprite, name, index or count changed since the last serialize().
  bool isModified() const { return modified; }

  // Draws the current frame at position, then advances the counters unless frozen.
  // Returns 0, or -1 when a character could not be drawn.
  int draw(Vector position);
  // The sprite's size centred on the position; a one-cell box without a sprite.
  Box getBox() const;

  // Writes the animation's attributes as key:value entries when asked ("ALL", "ANIMATION," or
  // an empty list while modified) and clears modified; otherwise returns "".
  virtual std::string serialize(std::string attributes = "");
  // Restores from key:value text; absent keys (and an empty text) leave members unchanged.
  // A sprite name the resource manager does not know is logged and only the name changes.
  // Returns 0.
  virtual int deserialize(std::string text);

 private:
  Sprite* sprite = nullptr;
  int index = 0;
  int slowdown_count = 0;
  std::string name;
  bool modified = true;
};

}  // namespace tx
