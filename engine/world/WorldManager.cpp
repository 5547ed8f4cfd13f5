#include "tolvex/world/WorldManager.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "tolvex/core/LogManager.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/display/ViewObject.h"
#include "tolvex/world/EventCollision.h"
#include "tolvex/world/EventOut.h"
#include "tolvex/world/Object.h"

namespace tx {

namespace {

// Position of the object in the list, or -1.
int indexOf(const ObjectList& list, const Object* object) {
  ObjectListIterator it(&list);
  for (int i = 0; !it.isDone(); it.next(), ++i) {
    if (it.currentObject() == object) return i;
  }
  return -1;
}

// The furthest place along the object's velocity, found by bisecting the fraction of it, where
// its box does not meet obstacle; its own position when there is none.
Vector lastFreePlace(const Object* object, const Box& obstacle) {
  const Vector velocity = object->getVelocity();
  Vector free_position = object->getPosition();
  float c = 0.5f;
  float step = 1.0f;
  for (int k = 1; k <= 7; ++k) {
    step *= 0.5f;
    Vector probe = velocity;
    probe.scale(c);
    probe = object->getPosition() + probe;
    if (boxIntersectsBox(getWorldBox(object, probe), obstacle)) {
      c -= step;
    } else {
      free_position = probe;
      c += step;
    }
  }
  return free_position;
}

bool holdsHard(const ObjectList& list) {
  for (ObjectListIterator it(&list); !it.isDone(); it.next()) {
    if (it.currentObject()->getSolidness() == HARD) return true;
  }
  return false;
}

}  // namespace

WorldManager::RemovalWatch::RemovalWatch(WorldManager& init_world) : world(init_world) {
  world.removal_watches.push_back(this);
}

WorldManager::RemovalWatch::~RemovalWatch() {
  world.removal_watches.erase(
      std::find(world.removal_watches.begin(), world.removal_watches.end(), this));
}

WorldManager::WorldManager() { setType("WorldManager"); }

void WorldManager::setBoundary(Box new_boundary) {
  boundary = new_boundary;
  scene_graph.setExtent(boundary.getHorizontal(), boundary.getVertical());
}

WorldManager::~WorldManager() = default;

WorldManager& WorldManager::getInstance() {
  static WorldManager world_manager;
  return world_manager;
}

bool WorldManager::isValid(std::string label) const {
  const LogManager& log = LogManager::getInstance();
  if (label == KEYBOARD_EVENT || label == MOUSE_EVENT) {
    log.writeLog("WorldManager::isValid(): WorldManager does not handle %s", label.c_str());
    return false;
  }
  if (label == STEP_EVENT || label == OUT_EVENT || label == COLLISION_EVENT) {
    log.writeLog("WorldManager::isValid(): Event %s handled automatically.", label.c_str());
    return false;
  }
  return true;
}

int WorldManager::startUp() {
  const LogManager& log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("WorldManager::startup(): already started.");
    return 0;
  }
  deletions.clear();
  deletion_index = -1;
  setBoundary(Box());
  view = Box();
  view_slack = Vector();
  view_following = nullptr;
  if (scene_graph.startUp() == -1) {
    log.writeLog("WorldManager::startUp(): Error! Unable to startup Scenegraph");
    return -1;
  }
  Manager::startUp();
  log.writeLog(5, "WorldManager::startUp(): successfully started.");
  return 0;
}

void WorldManager::shutDown() {
  // Stop first so that objects made by destructors below are not inserted.
  Manager::shutDown();
  deleteAll(scene_graph.activeObjects() + scene_graph.inactiveObjects());
  scene_graph.shutDown();
  view_following = nullptr;
  LogManager::getInstance().writeLog(5, "WorldManager::shutDown(): Successfully stopped.");
}

int WorldManager::insertObject(Object* object) {
  if (object == nullptr) return -1;
  if (!isStarted()) {
    const LogManager& log = LogManager::getInstance();
    log.writeLog(2, "WorldManager::insertObject(): Warning! Not adding Object %d", object->getId());
    log.writeLog(2, "                              because WorldManager not started.");
    return -1;
  }
  return scene_graph.insertObject(object);
}

int WorldManager::removeObject(Object* object) {
  if (object == nullptr) return -1;
  // Nothing may keep a pointer to an object that is going away.
  if (object == view_following) view_following = nullptr;
  const int marked_at = indexOf(deletions, object);
  // Entries at or before the deletion walk's index are being (or have been) deleted by the
  // walk itself; later ones, and every one outside the walk, must not be deleted again.
  if (marked_at >= 0 && marked_at > deletion_index) deletions.remove(object);
  for (RemovalWatch* watch : removal_watches) watch->removed.insert(object);
  return scene_graph.removeObject(object);
}

int WorldManager::markForDelete(Object* object) {
  if (object != nullptr && indexOf(deletions, object) >= 0) return 0;
  if (deletions.insert(object) == -1) {
    LogManager::getInstance().writeLog(
        "WorldManager::markForDelete(): Error! unable to add Object %p to deletions list",
        static_cast<void*>(object));
    return -1;
  }
  return 0;
}

ObjectList WorldManager::getAllObjects(bool inactive_too) const {
  if (inactive_too) return scene_graph.activeObjects() + scene_graph.inactiveObjects();
  return scene_graph.activeObjects();
}

ObjectList WorldManager::objectsOfType(std::string object_type) {
  return scene_graph.objectsOfType(object_type);
}

void WorldManager::deleteAll(const ObjectList& all) {
  const RemovalWatch removed(*this);
  for (ObjectListIterator it(&all); !it.isDone(); it.next()) {
    // A destructor may already have deleted a later object of the list.
    if (!removed.saw(it.currentObject())) delete it.currentObject();
  }
}

void WorldManager::update() {
  moveAll(scene_graph.activeObjects());
  // Destructors may mark further objects; they join this walk.
  ObjectListIterator deleting(&deletions);
  for (deletion_index = 0; !deleting.isDone(); deleting.next(), ++deletion_index) {
    delete deleting.currentObject();
  }
  deletion_index = -1;
  deletions.clear();
}

void WorldManager::moveAll(const ObjectList& list) {
  const RemovalWatch removed(*this);
  for (ObjectListIterator it(&list); !it.isDone(); it.next()) {
    Object* object = it.currentObject();
    // An object destroyed by an earlier object's handler is no longer there to move.
    if (removed.saw(object)) continue;
    const Vector where = object->predictPosition();
    if (where != object->getPosition()) {
      moveObject(object, where);
      if (removed.saw(object)) continue;
    }
    object->moveAlongPath();
    object->accelerate();
  }
}

void WorldManager::draw() {
  for (int altitude = 0; altitude <= MAX_ALTITUDE; ++altitude) {
    const ObjectList list = scene_graph.visibleObjects(altitude);
    for (ObjectListIterator it(&list); !it.isDone(); it.next()) {
      Object* object = it.currentObject();
      if (boxIntersectsBox(getWorldBox(object), view) || isViewObject(object)) object->draw();
    }
  }
}

bool WorldManager::isViewObject(const Object* object) const {
  // The answer depends on the class alone, and looking it up costs less than the cast.
  const std::type_index object_class(typeid(*object));
  for (const auto& known : view_types) {
    if (known.first == object_class) return known.second;
  }
  const bool view_object = dynamic_cast<const ViewObject*>(object) != nullptr;
  view_types.emplace_back(object_class, view_object);
  return view_object;
}

ObjectList WorldManager::getCollisions(const Object* object, Vector where) const {
  ObjectList collisions;
  scene_graph.solidObjectsAt(object, getWorldBox(object, where), collisions);
  return collisions;
}

int WorldManager::moveObject(Object* object, Vector where) {
  if (object == nullptr) return -1;
  if (object->isSolid()) {
    ObjectList collisions = getCollisions(object, where);
    if (!collisions.isEmpty() && object->getSolidness() == HARD && object->getAvoidCollisions() &&
        !slideAlong(object, where, collisions)) {
      return -1;
    }
    if (!collisions.isEmpty() && !sendCollisions(object, where, collisions)) return -1;
  }
  placeObject(object, where);
  return 0;
}

bool WorldManager::slideAlong(Object* object, Vector& where, ObjectList& collisions) const {
  Object* hard = nullptr;
  for (ObjectListIterator it(&collisions); !it.isDone() && hard == nullptr; it.next()) {
    if (it.currentObject()->getSolidness() == HARD) hard = it.currentObject();
  }
  if (hard == nullptr) return true;
  // Keep only the motion along the obstacle's side; a corner turns the object back.
  const Vector normal = getNormal(object, hard);
  const Vector direction = object->getDirection();
  const float nx = std::fabs(normal.getX());
  const float ny = std::fabs(normal.getY());
  Vector slide(direction.getX() * ny, direction.getY() * nx);
  if (nx == 1.0f && ny == 1.0f) slide.setX(-slide.getX());
  slide.normalize();
  slide.scale(object->getSpeed());
  const Vector slide_to = object->getPosition() + slide;
  ObjectList slide_collisions = getCollisions(object, slide_to);
  if (holdsHard(slide_collisions)) {
    LogManager::getInstance().writeLog(
        5, "WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move.");
    return false;
  }
  where = slide_to;
  collisions = std::move(slide_collisions);
  return true;
}

bool WorldManager::sendCollisions(Object* object, Vector where, const ObjectList& collisions) {
  bool move_ok = true;
  const RemovalWatch removed(*this);
  for (ObjectListIterator it(&collisions); !it.isDone(); it.next()) {
    Object* other = it.currentObject();
    // A handler may destroy a later partner, which then takes no part, or the mover itself,
    // which ends the move.
    if (removed.saw(other)) continue;
    EventCollision collision(object, other, where);
    object->eventHandler(&collision);
    if (removed.saw(object)) return false;
    if (removed.saw(other)) continue;
    other->eventHandler(&collision);
    if (removed.saw(object)) return false;
    if (removed.saw(other)) continue;
    // Read after the handlers: they may have changed either object's solidness.
    if (object->getSolidness() == HARD && other->getSolidness() == HARD) move_ok = false;
    if (object->getNoSoft() && other->getSolidness() == SOFT) move_ok = false;
  }
  return move_ok;
}

void WorldManager::placeObject(Object* object, Vector where) {
  const Box before = getWorldBox(object);
  object->setPosition(where);
  const Box after = getWorldBox(object);
  if (boxIntersectsBox(before, boundary) && !boxIntersectsBox(after, boundary)) {
    EventOut out;
    object->eventHandler(&out);
  }
  if (object == view_following) followView(object);
}

void WorldManager::setViewPosition(Vector view_position) {
  const float horizontal = view.getHorizontal();
  const float vertical = view.getVertical();
  float x = view_position.getX() - horizontal * 0.5f;
  float y = view_position.getY() - vertical * 0.5f;
  if (horizontal + x > boundary.getHorizontal()) x = boundary.getHorizontal() - horizontal;
  x = std::max(0.0f, x);
  if (vertical + y > boundary.getVertical()) y = boundary.getVertical() - vertical;
  y = std::max(0.0f, y);
  view.setCorner(Vector(x, y));
}

void WorldManager::followView(const Object* object) {
  const float vh = view.getHorizontal();
  const float vv = view.getVertical();
  float cx = view.getCorner().getX() + vh * 0.5f;
  float cy = view.getCorner().getY() + vv * 0.5f;
  const float px = object->getPosition().getX();
  const float py = object->getPosition().getY();

  const float left = cx - vh * view_slack.getX() * 0.5f;
  const float right = cx + vh * view_slack.getX() * 0.5f;
  if (left > px) {
    cx -= left - px;
  } else if (px > right) {
    cx += px - right;
  }
  const float top = cy - vv * view_slack.getY() * 0.5f;
  const float bottom = cy + vv * view_slack.getY() * 0.5f;
  if (top > py) {
    cy -= top - py;
  } else if (py > bottom) {
    cy += py - bottom;
  }
  setViewPosition(Vector(cx, cy));
}

void WorldManager::setViewSlack(Vector new_view_slack) {
  const float sx = new_view_slack.getX();
  const float sy = new_view_slack.getY();
  if (sx < 0.0f || sx > 1.0f || sy < 0.0f || sy > 1.0f) {
    LogManager::getInstance().writeLog(
        "WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]");
  }
  view_slack = new_view_slack;
}

int WorldManager::setViewFollowing(Object* new_view_following) {
  if (new_view_following == nullptr) {
    view_following = nullptr;
    return 0;
  }
  if (indexOf(getAllObjects(true), new_view_following) < 0) {
    LogManager::getInstance().writeLog(
        "WorldManager::setViewFollowing(): Warning! Object %d is not in the world.",
        new_view_following->getId());
    return -1;
  }
  view_following = new_view_following;
  setViewPosition(new_view_following->getPosition());
  return 0;
}

Vector getNormal(const Object* object, const Object* other) {
  const Box b = getWorldBox(other);
  const Box a = getWorldBox(object, lastFreePlace(object, b));
  const float bx = b.getCorner().getX();
  const float by = b.getCorner().getY();
  const float bh = b.getHorizontal();
  const float bv = b.getVertical();
  struct Side {
    float x;
    float y;
    Vector normal;
  };
  const Side sides[] = {
      {bx, by - bv, Vector(0.0f, -1.0f)},       {bx, by + bv, Vector(0.0f, 1.0f)},
      {bx - bh, by, Vector(-1.0f, 0.0f)},       {bx + bh, by, Vector(1.0f, 0.0f)},
      {bx - bh, by - bv, Vector(-1.0f, -1.0f)}, {bx + bh, by - bv, Vector(1.0f, -1.0f)},
      {bx - bh, by + bv, Vector(-1.0f, 1.0f)},  {bx + bh, by + bv, Vector(1.0f, 1.0f)},
  };
  for (const Side& side : sides) {
    if (boxIntersectsBox(Box(Vector(side.x, side.y), bh, bv), a)) return side.normal;
  }
  LogManager::getInstance().writeLog("getNormal(): collision not detected. Returning (0,0).");
  return Vector();
}

}  // namespace tx
