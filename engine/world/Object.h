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

// How an object takes part in collisions. Solid objects (HARD and SOFT) that meet both get a
// collision event; only two HARD objects stop each other, and a mover with no-soft set is also
// stopped by SOFT ones. SPECTRAL objects never collide.
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

// Number of ObjectAttribute values.
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
  // The game's name for the kind of object ("Player"), which the world manager's
  // objectsOfType() finds objects by. "(Undefined)" until set.
  std::string getType() const { return type; }
  void setType(std::string new_type);

  // An inactive object is neither moved, drawn, collided with nor given events. -1, and the
  // flag unchanged, when the world manager's lists cannot take the change.
  bool isActive() const { return is_active; }
  int setActive(bool active = true);
  // An invisible object is not drawn but still moves and collides. -1 as for setActive().
  bool isVisible() const { return is_visible; }
  int setVisible(bool visible = true);

  // Relative to the position: the corner is an offset from it.
  Box getBox() const { return box; }
  void setBox(Box new_box);

  // World cells; the centre of the sprite.
  Vector getPosition() const { return position; }
  // Moves without any collision test (that is the world manager's moveObject). Returns 0.
  virtual int setPosition(Vector new_position);

  // Where the object moves each step: usually a unit vector, scaled by the speed.
  Vector getDirection() const { return direction; }
  void setDirection(Vector new_direction);
  // Cells per step along the direction.
  float getSpeed() const { return speed; }
  void setSpeed(float new_speed);
  // direction scaled by speed.
  Vector getVelocity() const;
  // Speed becomes |v|, direction v normalised.
  void setVelocity(Vector new_velocity);
  // Added to the velocity once per step, after the move (cells per step, per step).
  Vector getAcceleration() const { return acceleration; }
  void setAcceleration(Vector new_acceleration);
  // position + velocity.
  Vector predictPosition() const;

  // The drawing layer, 0 (drawn first) to MAX_ALTITUDE (drawn last, on top); 2 at first.
  // -1 and unchanged outside 0 .. MAX_ALTITUDE.
  int getAltitude() const { return altitude; }
  int setAltitude(int new_altitude);

  // HARD at first. -1 and unchanged for anything but HARD, SOFT or SPECTRAL.
  Solidness getSolidness() const { return solidness; }
  int setSolidness(Solidness new_solid);
  // True for HARD and SOFT.
  bool isSolid() const { return solidness < SPECTRAL; }
  // When set, SOFT objects stop this one as HARD ones do.
  bool getNoSoft() const { return no_soft; }
  void setNoSoft(bool new_no_soft = true);
  // When set, a HARD object that runs into a HARD one slides along it instead of stopping:
  // against a floor or ceiling it keeps only its horizontal motion, against a wall only its
  // vertical motion.
  bool getAvoidCollisions() const { return avoid_collisions; }
  void setAvoidCollisions(bool new_avoid = true);

  // Shows the sprite loaded under the label, from its first frame, and takes the sprite's size
  // as the box. -1, with a warning and nothing changed, when no sprite has that label.
  int setSprite(std::string sprite_label);
  // What the object shows (a copy); the sprite stays the resource manager's.
  Animation getAnimation() const { return animation; }
  // Replaces the animation; with take_box the box becomes the sprite's size.
  void setAnimation(Animation new_animation, bool take_box = false);
  // A figure drawn in pixels at the position, after the animation; none (UNDEFINED) at first.
  Shape getShape() const { return shape; }
  void setShape(Shape new_shape);

  // The waypoints the object follows while getFollowPath() is true (a copy).
  Path getPath() const { return path; }
  void setPath(Path new_path);
  // While true the update pass steers the object along its path at its speed, snapping onto
  // each waypoint it gets near; at the last it stops and following ends. Turning it on aims
  // the object at the current waypoint.
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

  // Registers with the manager that handles the label: keyboard and mouse labels go to the
  // input manager, "tx-step" to the game manager, the network labels to the network manager,
  // every other label to the world manager. -1 at 100 labels or when refused.
  int registerInterest(std::string label);
  // Undoes registerInterest(). -1, with a log line, when the label was not registered.
  int unregisterInterest(std::string label);
  // The number of labels registered.
  int getEventCount() const { return event_count; }
  // The i-th label registered; empty outside 0 .. getEventCount() - 1.
  std::string getEventName(int i) const {
    return i >= 0 && i < event_count ? event_name[static_cast<std::size_t>(i)] : std::string();
  }

  // Called by the world manager's update pass once per step, after the move: moveAlongPath()
  // aims the object at its next waypoint (or stops it at the last), then accelerate() adds the
  // acceleration to the velocity.
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
  // True when any attribute changed since serialize() last wrote it (every attribute is new
  // at first).
  virtual bool isModified() const;
  // The same for one attribute.
  virtual bool isModified(ObjectAttribute attribute) const;

 protected:
  // Marks an attribute as changed (or not), for classes that set members behind the setters.
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
