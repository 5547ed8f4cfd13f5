#include "tolvex/world/Object.h"

#include <climits>
#include <utility>

#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/core/utility.h"
#include "tolvex/display/InputManager.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/network/NetworkManager.h"
#include "tolvex/path/EventPath.h"
#include "tolvex/path/PathFind.h"
#include "tolvex/path/PathManager.h"
#include "tolvex/world/SceneGraph.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

namespace {

// Next id to hand out; ids start at 1 for the first object of the program. NO_ID once
// INT_MAX has been handed out (or passed by an id read from text).
int next_id = 1;

// Hands out the next id, each at most once in the life of the process.
int takeId() {
  if (next_id != NO_ID) return next_id == INT_MAX ? std::exchange(next_id, NO_ID) : next_id++;
  static bool told = false;
  if (!told)
    LogManager::getInstance().writeLog(
        "Object::Object(): Warning! every id has been handed out; new objects get id %d.", NO_ID);
  told = true;
  return NO_ID;
}

// The manager that produces or routes events with this label.
Manager& managerFor(const std::string& label) {
  if (label == KEYBOARD_EVENT || label == MOUSE_EVENT) return InputManager::getInstance();
  if (label == STEP_EVENT) return GameManager::getInstance();
  if (label == NETWORK_EVENT || label == KEYBOARD_NETWORK_EVENT || label == MOUSE_NETWORK_EVENT ||
      label == CUSTOM_NETWORK_EVENT) {
    return NetworkManager::getInstance();
  }
  return WorldManager::getInstance();
}

SceneGraph& sceneGraph() { return WorldManager::getInstance().getSceneGraph(); }

Vector towards(Vector from, Vector to) {
  Vector d = to - from;
  d.normalize();
  return d;
}

}  // namespace

Object::Object() : id(takeId()) {
  for (bool& flag : modified) flag = true;
  shape.setType(UNDEFINED);
  WorldManager::getInstance().insertObject(this);
}

Object::~Object() {
  // Last registered first, so managers see the reverse of registration.
  for (int i = event_count - 1; i >= 0; --i) {
    const std::string label = event_name[i];
    unregisterInterest(label);
  }
  setPathFind(nullptr);
  // Searches of other objects may still aim at this one.
  PathManager::getInstance().forgetObject(this);
  WorldManager::getInstance().removeObject(this);
}

void Object::setId(int new_id) {
  id = new_id;
  if (next_id != NO_ID && new_id >= next_id) next_id = new_id < INT_MAX ? new_id + 1 : NO_ID;
  modified[ID] = true;
}

void Object::setType(std::string new_type) {
  sceneGraph().updateType(this, new_type);
  type = std::move(new_type);
  modified[TYPE] = true;
}

int Object::setActive(bool active) {
  if (active == is_active) return 0;
  if (sceneGraph().updateActive(this, active) == -1) return -1;
  is_active = active;
  modified[ACTIVE] = true;
  return 0;
}

int Object::setVisible(bool visible) {
  if (visible == is_visible) return 0;
  if (sceneGraph().updateVisible(this, visible) == -1) return -1;
  is_visible = visible;
  modified[VISIBLE] = true;
  return 0;
}

void Object::setBox(Box new_box) {
  if (new_box == box) return;
  // An object outside the world (made while the world manager was stopped) stays outside.
  const bool in_world =
      WorldManager::getInstance().isStarted() && sceneGraph().removeObject(this) == 0;
  box = new_box;
  if (in_world) sceneGraph().insertObject(this);
  modified[BOX] = true;
}

int Object::setPosition(Vector new_position) {
  if (new_position == position) return 0;
  sceneGraph().updatePosition(this, new_position);
  position = new_position;
  modified[POSITION] = true;
  return 0;
}

void Object::setDirection(Vector new_direction) {
  direction = new_direction;
  modified[DIRECTION] = true;
}

void Object::setSpeed(float new_speed) {
  speed = new_speed;
  modified[SPEED] = true;
}

Vector Object::getVelocity() const {
  Vector velocity = direction;
  velocity.scale(speed);
  return velocity;
}

void Object::setVelocity(Vector new_velocity) {
  speed = new_velocity.getMagnitude();
  new_velocity.normalize();
  direction = new_velocity;
  modified[SPEED] = true;
  modified[DIRECTION] = true;
}

void Object::setAcceleration(Vector new_acceleration) {
  acceleration = new_acceleration;
  modified[ACCELERATION] = true;
}

Vector Object::predictPosition() const { return position + getVelocity(); }

int Object::setAltitude(int new_altitude) {
  if (!valueInRange(static_cast<float>(new_altitude), 0.0f, static_cast<float>(MAX_ALTITUDE))) {
    LogManager::getInstance().writeLog(
        "Object::setAltitude(): Altitude %d not in range [%d,%d].  Ignored.", new_altitude, 0,
        MAX_ALTITUDE);
    return -1;
  }
  if (new_altitude == altitude) return 0;
  if (sceneGraph().updateAltitude(this, new_altitude) == -1) return -1;
  altitude = new_altitude;
  modified[ALTITUDE] = true;
  return 0;
}

int Object::setSolidness(Solidness new_solid) {
  const int value = static_cast<int>(new_solid);
  if (value != HARD && value != SOFT && value != SPECTRAL) {
    LogManager::getInstance().writeLog(
        "Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.", value);
    return -1;
  }
  if (new_solid == solidness) return 0;
  if (sceneGraph().updateSolidness(this, new_solid) == -1) return -1;
  solidness = new_solid;
  modified[SOLIDNESS] = true;
  return 0;
}

void Object::setNoSoft(bool new_no_soft) {
  no_soft = new_no_soft;
  modified[NO_SOFT] = true;
}

void Object::setAvoidCollisions(bool new_avoid) {
  avoid_collisions = new_avoid;
  modified[AVOID_COLLISIONS] = true;
}

int Object::setSprite(std::string sprite_label) {
  Sprite* sprite = ResourceManager::getInstance().getSprite(sprite_label);
  if (sprite == nullptr) {
    LogManager::getInstance().writeLog("Object::setSprite(): Warning! Sprite '%s' not found",
                                       sprite_label.c_str());
    return -1;
  }
  animation.setSprite(sprite);
  setBox(animation.getBox());
  return 0;
}

void Object::setAnimation(Animation new_animation, bool take_box) {
  animation = new_animation;
  modified[ANIMATION] = true;
  if (take_box) {
    // The lists do not depend on the box, but the spatial grid does.
    sceneGraph().updateBox(this, animation.getBox());
    box = animation.getBox();
    modified[BOX] = true;
  }
}

void Object::setShape(Shape new_shape) {
  shape = new_shape;
  modified[SHAPE] = true;
}

void Object::setPath(Path new_path) {
  path = std::move(new_path);
  modified[PATH] = true;
}

void Object::setFollowPath(bool new_follow) {
  follow_path = new_follow;
  // Only starting to follow aims the object; stopping leaves its direction alone.
  if (new_follow && !path.isDone()) direction = towards(position, path.currentNode());
  modified[FOLLOW_PATH] = true;
}

void Object::setPathFind(std::unique_ptr<PathFind> new_path_find) {
  // A search leaves the path manager's list when it is deleted.
  path_find = std::move(new_path_find);
}

int Object::registerInterest(std::string label) {
  if (event_count == MAX_OBJ_EVENTS) {
    LogManager::getInstance().writeLog(
        "Object::registerInterest(): maximum (%d) reached, cannot register for event '%s'",
        MAX_OBJ_EVENTS, label.c_str());
    return -1;
  }
  if (managerFor(label).registerInterest(this, label) == -1) return -1;
  event_name.push_back(label);
  ++event_count;
  modified[EVENTS] = true;
  return 0;
}

int Object::unregisterInterest(std::string label) {
  int found = -1;
  for (int i = 0; i < event_count; ++i) {
    if (event_name[i] == label) {
      found = i;
      break;
    }
  }
  if (found == -1) {
    LogManager::getInstance().writeLog(
        "Object::unregisterInterest(): event '%s' not previously registered", label.c_str());
    return -1;
  }
  if (managerFor(label).unregisterInterest(this, label) == -1) return -1;
  event_name.erase(event_name.begin() + found);
  --event_count;
  modified[EVENTS] = true;
  return 0;
}

void Object::accelerate() {
  if (acceleration == Vector()) return;
  Vector velocity = getVelocity() + acceleration;
  speed = velocity.getMagnitude();
  velocity.normalize();
  direction = velocity;
  modified[SPEED] = true;
  modified[DIRECTION] = true;
}

void Object::moveAlongPath() {
  if (!follow_path) return;
  while (!path.isDone()) {
    const Vector waypoint = path.currentNode();
    // Within three quarters of a step's travel the object snaps onto the waypoint.
    if (distance(position, waypoint) > speed * 3.0f * 0.25f) {
      direction = towards(position, waypoint);
      return;
    }
    setPosition(waypoint);
    path.next();
    modified[PATH] = true;
  }
  direction = Vector();
  setFollowPath(false);
}

int Object::eventHandler(const Event* event) {
  if (event == nullptr || event->getType() != PATH_EVENT) return 0;
  const auto* path_event = dynamic_cast<const EventPath*>(event);
  if (path_event == nullptr) {
    LogManager::getInstance().writeLog(
        "Object::eventHandler(): Error! Dynamic cast to EventPath failed.");
    return 0;
  }
  // Status 2 is how the path manager reports a path found.
  if (path_event->getStatus() == 2) {
    setPath(path_event->getPath());
    setFollowPath(true);
  }
  setPathFind(nullptr);
  return 1;
}

int Object::draw() {
  const int result = animation.draw(position);
  if (shape.getType() != UNDEFINED) shape.draw(position);
  return result;
}

Box getWorldBox(const Object* object, Vector where) { return boxAt(object->getBox(), where); }

Box getWorldBox(const Object* object) { return getWorldBox(object, object->getPosition()); }

}  // namespace tx
