#include "tolvex/display/Animation.h"

#include <cstdlib>

#include "tolvex/core/LogManager.h"
#include "tolvex/core/utility.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/display/Sprite.h"
#include "tolvex/world/ObjectSerialization.h"

namespace tx {

namespace {

// A name the resource manager does not know leaves the sprite as it was; the name is taken all
// the same.
void readSpriteName(Animation& animation, const std::string& value) {
  LogManager::getInstance().writeLog(20, "Animation::deserialize(): sprite_name is '%s'",
                                     value.c_str());
  Sprite* found = ResourceManager::getInstance().getSprite(value);
  if (found != nullptr) {
    animation.setSprite(found);
  } else {
    LogManager::getInstance().writeLog("Animation::Match(): Sprite '%s' not found", value.c_str());
  }
  animation.setName(value);
}

void readIndex(Animation& animation, const std::string& value) {
  const int index = readInt(value);
  LogManager::getInstance().writeLog(20, "Animation::deserialize(): sprite_index is %d", index);
  animation.setIndex(index);
}

void readSlowdownCount(Animation& animation, const std::string& value) {
  const int count = readInt(value);
  LogManager::getInstance().writeLog(20, "Animation::deserialize(): sprite_slowdown_count is %d",
                                     count);
  animation.setSlowdownCount(count);
}

struct AnimationKey {
  const char* key;
  void (*read)(Animation& animation, const std::string& value);
};

// The keys in the order they are applied: the sprite first, since setting it resets the index.
const AnimationKey ANIMATION_KEYS[] = {
    {"sprite_name", readSpriteName},
    {"sprite_index", readIndex},
    {"sprite_slowdown_count", readSlowdownCount},
};

}  // namespace

void Animation::setSprite(Sprite* new_sprite) {
  if (new_sprite != nullptr) {
    setName(new_sprite->getLabel());
  }
  sprite = new_sprite;
  modified = true;
  index = 0;
}

void Animation::setName(std::string new_name) {
  if (new_name != name) {
    name = std::move(new_name);
    modified = true;
  }
}

void Animation::setIndex(int new_index) {
  if (new_index != index) {
    index = new_index;
    modified = true;
  }
}

void Animation::setSlowdownCount(int new_slowdown_count) {
  if (new_slowdown_count != slowdown_count) {
    slowdown_count = new_slowdown_count;
    modified = true;
  }
}

int Animation::draw(Vector position) {
  if (sprite == nullptr) {
    return 0;
  }
  // The frame chosen last time is drawn before the counters move on.
  const int result = sprite->draw(index, position, sprite->getTransparency());
  if (slowdown_count == -1) {
    return result;
  }
  // Counted in 64 bits: a count or an index read from text may stand at the top of the range,
  // and passing it goes back to the first frame like any other.
  const long long next_count = static_cast<long long>(slowdown_count) + 1;
  // The count always changes.
  modified = true;
  if (next_count < sprite->getSlowdown()) {
    slowdown_count = static_cast<int>(next_count);
    return result;
  }
  slowdown_count = 0;
  const long long next_index = static_cast<long long>(index) + 1;
  index = next_index < sprite->getFrameCount() ? static_cast<int>(next_index) : 0;
  return result;
}

Box Animation::getBox() const {
  if (sprite == nullptr) {
    return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  }
  const float width = static_cast<float>(sprite->getWidth());
  const float height = static_cast<float>(sprite->getHeight());
  return Box(Vector(-width * 0.5f, -height * 0.5f), width, height);
}

std::string Animation::serialize(std::string attributes) {
  if (!isChosen(attributes, "ANIMATION,", modified)) {
    return "";
  }
  std::string text = "sprite_name:" + name + ",";
  text += "sprite_index:" + toString(index) + ",";
  text += "sprite_slowdown_count:" + toString(slowdown_count) + ",";
  modified = false;
  return text;
}

int Animation::deserialize(std::string text) {
  // An empty text would make match search whatever text it parsed last.
  if (text.empty()) {
    return 0;
  }
  // One parse; the lookups search the kept entries.
  match(text, "");
  readKeys(ANIMATION_KEYS, *this);
  return 0;
}

}  // namespace tx
