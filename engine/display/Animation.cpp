#include "display/Animation.h"

#include <cstdlib>

#include "core/LogManager.h"
#include "core/utility.h"
#include "display/ResourceManager.h"
#include "display/Sprite.h"

namespace tx {

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
  setSlowdownCount(slowdown_count + 1);
  if (slowdown_count >= sprite->getSlowdown()) {
    setSlowdownCount(0);
    setIndex(index + 1);
    if (index >= sprite->getFrameCount()) {
      setIndex(0);
    }
  }
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
  const bool wanted = attributes == "ALL" || (attributes.empty() && modified) ||
                      attributes.find("ANIMATION,") != std::string::npos;
  if (!wanted) {
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
  LogManager& log_manager = LogManager::getInstance();
  // One parse; the lookups below search the kept entries.
  match(text, "");

  const std::string sprite_name = match("", "sprite_name");
  if (!sprite_name.empty()) {
    log_manager.writeLog(20, "Animation::deserialize(): sprite_name is '%s'", sprite_name.c_str());
    Sprite* found = ResourceManager::getInstance().getSprite(sprite_name);
    if (found != nullptr) {
      setSprite(found);
    } else {
      log_manager.writeLog("Animation::Match(): Sprite '%s' not found", sprite_name.c_str());
    }
    setName(sprite_name);
  }

  const std::string sprite_index = match("", "sprite_index");
  if (!sprite_index.empty()) {
    const int value = readInt(sprite_index);
    log_manager.writeLog(20, "Animation::deserialize(): sprite_index is %d", value);
    setIndex(value);
  }

  const std::string sprite_slowdown_count = match("", "sprite_slowdown_count");
  if (!sprite_slowdown_count.empty()) {
    const int value = readInt(sprite_slowdown_count);
    log_manager.writeLog(20, "Animation::deserialize(): sprite_slowdown_count is %d", value);
    setSlowdownCount(value);
  }
  return 0;
}

}  // namespace tx
