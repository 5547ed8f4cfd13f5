#pragma once

#include <map>
#include <string>
#include <vector>

#include "tolvex/core/ObjectList.h"
#include "tolvex/world/Box.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/SpatialGrid.h"
#include "tolvex/world/Vector.h"

namespace tx {

// The world manager's index of its objects: active and inactive, solid, visible per altitude,
// active objects by type, and a spatial grid of the solid objects for "what is solid here".
// Holds non-owning pointers; never creates or deletes objects. Objects keep it current through
// their setters, which call the matching update operation while the object still holds its old
// value.
class SceneGraph {
 public:
  SceneGraph() = default;
  SceneGraph(const SceneGraph&) = delete;
  SceneGraph& operator=(const SceneGraph&) = delete;

  // Empties the type map, turns the spatial grid on or off as configured (grid_width x
  // grid_height cells a bucket; off when either is 0 or less) and announces the configuration.
  // Leaves the object lists as they are.
  int startUp();
  // Empties the type map. The object lists are emptied only as objects leave.
  void shutDown();

  // Files the object in the lists its state calls for. -1 on failure; earlier appends stay.
  int insertObject(Object* object);
  // Removes the object from every list it is in, attempting every removal. -1 if any failed.
  int removeObject(Object* object);

  // Copies of the lists of active and of inactive objects.
  ObjectList activeObjects() const;
  ObjectList inactiveObjects() const;
  // The solid list itself, valid until the next change of the scene graph.
  const ObjectList& solidObjects() const { return solid_objects; }
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
  // Each refiles a solid object in the spatial grid under its new position or box; 0.
  int updatePosition(Object* object, Vector new_position);
  int updateBox(Object* object, Box new_box);

  // Turns the spatial grid on with buckets of width x height cells, or off (queries walk the
  // solid list) when either is 0 or less, and refiles every solid object.
  void setGrid(int width, int height);
  // True while the spatial grid answers the queries.
  bool hasGrid() const { return grid_on; }
  // The bucket size in cells; 0 when the grid is off.
  int getGridWidth() const { return grid_width; }
  int getGridHeight() const { return grid_height; }
  // Sizes the grid to tile a world of horizontal x vertical cells (the world's boundary).
  void setExtent(float horizontal, float vertical);
  // Appends to out the solid objects other than object whose world boxes meet area, in the
  // solid list's order, with the grid or, when it is off, by walking the list. Allocates
  // nothing beyond out's growth.
  void solidObjectsAt(const Object* object, const Box& area, ObjectList& out) const;
  // Changes whenever a solid object enters or leaves the solid list, moves, or changes its box
  // or solidness: whatever a "what is solid here" answer depends on.
  long long getSolidRevision() const { return solid_revision; }

 private:
  ObjectList objects;
  ObjectList solid_objects;
  ObjectList visible_objects[MAX_ALTITUDE + 1];
  ObjectList inactive_objects;
  std::map<std::string, ObjectList> type_map;

  // Appends to or removes from solid_objects, keeping the grid and the revision in step.
  int addSolid(Object* object);
  int removeSolid(Object* object);
  // The two directions of updateActive.
  int deactivate(Object* object);
  int activate(Object* object);

  SpatialGrid grid;
  bool grid_on = false;
  int grid_width = 0;
  int grid_height = 0;
  Vector extent;
  long long solid_revision = 0;
  // Candidates of one query; kept to save the allocation.
  mutable std::vector<SpatialGrid::Candidate> candidates;
};

}  // namespace tx
