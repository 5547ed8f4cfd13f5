#pragma once

#include <map>
#include <string>

#include "core/ObjectList.h"
#include "world/Object.h"
#include "world/Vector.h"

namespace tx {

// The world manager's index of its objects: active and inactive, solid, visible per altitude,
// and active objects by type. Holds non-owning pointers; never creates or deletes objects.
// Objects keep it current through their setters, which call the matching update operation
// while the object still holds its old value.
class SceneGraph {
 public:
  SceneGraph() = default;
  SceneGraph(const SceneGraph&) = delete;
  SceneGraph& operator=(const SceneGraph&) = delete;

  // Empties the type map and announces the configuration. Leaves the object lists as they are.
  int startUp();
  // Empties the type map. The object lists are emptied only as objects leave.
  void shutDown();

  // Files the object in the lists its state calls for. -1 on failure; earlier appends stay.
  int insertObject(Object* object);
  // Removes the object from every list it is in, attempting every removal. -1 if any failed.
  int removeObject(Object* object);

  // Copies of the lists.
  ObjectList activeObjects() const;
  ObjectList inactiveObjects() const;
  ObjectList solidObjects() const;
  // Empty, with a warning, for an altitude outside 0 .. MAX_ALTITUDE.
  ObjectList visibleObjects(int altitude) const;
  // Active objects of the type, in the order they were filed; empty for an unknown type.
  ObjectList objectsOfType(std::string type);

  // Each reads the object's old value and moves it to the lists the new value calls for.
  // 0 on success (or no change), -1 when a list refused.
  int updateActive(Object* object, bool active = true);
  int updateVisible(Object* object, bool visible = true);
  int updateAltitude(Object* object, int new_altitude);
  int updateSolidness(Object* object, Solidness new_solidness);
  int updateType(Object* object, std::string new_type);
  // This configuration keeps no spatial index: does nothing, returns 0.
  int updatePosition(Object* object, Vector new_position);

 private:
  ObjectList objects;
  ObjectList solid_objects;
  ObjectList visible_objects[MAX_ALTITUDE + 1];
  ObjectList inactive_objects;
  std::map<std::string, ObjectList> type_map;
};

}  // namespace tx
