#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tolvex/display/Animation.h"
#include "tolvex/display/Shape.h"
#include "tolvex/world/Box.h"
#include "tolvex/world/Path.h"
#include "tolvex/world/Vector.h"

namespace tx {

class Event;
class PathFind;

enum Solidness {
  HARD = 0,
  SOFT = 1,
  SPECTRAL = 2,
};

// The serializable attributes; each indexes one modified flag. SPEED comes before DIRECTION.
enum ObjectAttribute {
  ID = 0,
  ACTIVE,
  VISIBLE,
  EVENTS,
  BOX,
  POSITION,
  TYPE,
  ANIMATION,
  ALTITUDE,
  SOLIDNESS,
  NO_SOFT,
  SPEED,
  DIRECTION,
  ACCELERATION,
  SHAPE,
  PATH,
  FOLLOW_PATH,
  AVOID_COLLISIONS,
};

constexpr int ATTR_COUNT = 18;
// Altitudes run from 0 (drawn first) to MAX_ALTITUDE (drawn last).
constexpr int MAX_ALTITUDE = 4;
// Most labels one object listens for.
constexpr int MAX_OBJ_EVENTS = 100;
// The id of objects made once every id from 1 to INT_MAX has been handed out: the counter
// never gives an id twice, and never gives this one.
constexpr int NO_ID = 0;

// Base of everything in the game world. An object inserts itself into the world manager when
// constructed and removes itself when destroyed. Create objects with new and end them with the
// world manager's markForDelete; the world manager deletes them.
class Object {
 public:
  Object();
  virtual ~Object();
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  // Ids from 1 up, one per object made, each handed out once in the life of the process; NO_ID
  // (with one log line, the first time) once they have all been handed out.
  int getId() const { return id; }
  // Used by deserialization; moves the id counter past id (INT_MAX uses the last id up).
  void setId(int new_id);
  std::string getType() const { return type; }
  void setType(std::string new_type);

  bool isActive() const { return is_active; }
  int setActive(bool active = true);
  bool isVisible() const { return is_visible; }
  int setVisible(bool visible = true);

  // Relative to the position: the corner is an offset from it.
  Box getBox() const { return box; }
  void setBox(Box new_box);

  Vector getPosition() const { return position; }
  // Moves without any collision test (that is the world manager's moveObject). Returns 0.
  virtual int setPosition(Vector new_position);

  Vector getDirection() const { return direction; }
  void setDirection(Vector new_direction);
  float getSpeed() const { return speed; }
  void setSpeed(float new_speed);
  // direction scaled by speed.
  Vector getVelocity() const;
  // Speed becomes |v|, direction v normalised.
  void setVelocity(Vector new_velocity);
  Vector getAcceleration() const { return acceleration; }
  void setAcceleration(Vector new_acceleration);
  // position + velocity.
  Vector predictPosition() const;

  int getAltitude() const { return altitude; }
  // -1 and unchanged outside 0 .. MAX_ALTITUDE.
  int setAltitude(int new_altitude);

  Solidness getSolidness() const { return solidness; }
  // -1 and unchanged for anything but HARD, SOFT or SPECTRAL.
  int setSolidness(Solidness new_solid);
  bool isSolid() const { return solidness < SPECTRAL; }
  bool getNoSoft() const { return no_soft; }
  void setNoSoft(bool new_no_soft = true);
  bool getAvoidCollisions() const { return avoid_collisions; }
  void setAvoidCollisions(bool new_avoid = true);

  // Looks the sprite up in the resource manager and takes its size as the box.
  int setSprite(std::string sprite_label);
  Animation getAnimation() const { return animation; }
  void setAnimation(Animation new_animation, bool take_box = false);
  Shape getShape() const { return shape; }
  void setShape(Shape new_shape);

  Path getPath() const { return path; }
  void setPath(Path new_path);
  bool getFollowPath() const { return follow_path; }
  void setFollowPath(bool new_follow = true);
  // The search running on this object's behalf, owned by the object; null when none.
  PathFind* getPathFind() const { return path_find.get(); }
  // Takes the search, deleting the one it replaces (which leaves the path manager with it).
  void setPathFind(std::unique_ptr<PathFind> new_path_find);
  // Starts a search from this object's position to the goal cell and keeps it as path_find,
  // deleting the search that was running. When the result arrives the object follows the path
  // at its own speed (set one above zero). -1, with one log line and the running search kept,
  // when a cell lies outside the world boundary.
  int findPath(Vector goal);
  // As findPath(goal), aiming at the cell where target stands now; the search ends at the first
  // cell where this object's box would touch the target's box placed there (with one-cell
  // boxes, which do not touch from neighbouring cells, that is the target's own cell). The
  // target is not owned; if it is destroyed meanwhile the search goes on to the cell where it
  // stood. -1 for a null target or this object itself.
  int findPath(Object* target);

  // Registers with the manager that handles the label. -1 at 100 labels or when refused.
  int registerInterest(std::string label);
  int unregisterInterest(std::string label);
  int getEventCount() const { return event_count; }
  // The i-th label registered; empty outside 0 .. getEventCount() - 1.
  std::string getEventName(int i) const {
    return i >= 0 && i < event_count ? event_name[static_cast<std::size_t>(i)] : std::string();
  }

  // Called by the world manager's update pass once per step, after the move.
  void accelerate();
  void moveAlongPath();

  // 1 when handled. The base follows paths reported by "tx-path" events.
  virtual int eventHandler(const Event* event);
  // Draws the animation, then the shape. Returns the animation's result.
  virtual int draw();
  // Key:value text of the chosen attributes ("ALL", a list, or "" for what changed).
  virtual std::string serialize(std::string attributes = "");
  // Restores attributes from key:value text. Unusable values are refused as their setters refuse
  // them, with a log line each; always returns 0.
  virtual int deserialize(std::string text);
  virtual bool isModified() const;
  virtual bool isModified(ObjectAttribute attribute) const;

 protected:
  void setModified(ObjectAttribute attribute, bool value = true) { modified[attribute] = value; }

 private:
  // Write and read the text form for serialize and deserialize, one attribute or key at a time.
  friend class ObjectWriter;
  friend class ObjectReader;

  int id;
  std::string type = "(Undefined)";
  bool is_active = true;
  bool is_visible = true;
  Box box = Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  Vector position = Vector(1.0f, 1.0f);
  Vector direction;
  float speed = 0.0f;
  Vector acceleration;
  int altitude = 2;
  Solidness solidness = HARD;
  Animation animation;
  bool no_soft = false;
  // event_count labels, at most MAX_OBJ_EVENTS; only those used take room.
  int event_count = 0;
  std::vector<std::string> event_name;
  bool modified[ATTR_COUNT];
  Shape shape;
  std::unique_ptr<PathFind> path_find;
  Path path;
  bool follow_path = false;
  bool avoid_collisions = false;
};

// The object's box placed at where: corner + where, extents unchanged.
Box getWorldBox(const Object* object, Vector where);
// The object's box placed at its own position.
Box getWorldBox(const Object* object);

}  // namespace tx
