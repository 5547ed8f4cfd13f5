#pragma once

#include <string>
#include <typeindex>
#include <unordered_set>
#include <utility>
#include <vector>

#include "tolvex/core/Manager.h"
#include "tolvex/core/ObjectList.h"
#include "tolvex/world/Box.h"
#include "tolvex/world/SceneGraph.h"
#include "tolvex/world/Vector.h"

namespace tx {

class Object;

// Owns the game world: the scene graph, deferred deletion, the boundary, the view and the
// object the view follows. All coordinates are world cells.
class WorldManager : public Manager {
 public:
  // The process-wide world manager.
  static WorldManager& getInstance();
  ~WorldManager() override;
  WorldManager(const WorldManager&) = delete;
  WorldManager& operator=(const WorldManager&) = delete;

  // Refuses keyboard, mouse, step, out and collision labels (the last three are delivered
  // without an interest table); accepts every other label.
  bool isValid(std::string label) const override;
  // Resets boundary, view, slack, view following and deletions, starts the scene graph.
  int startUp() override;
  // Deletes every remaining object, active first, then inactive.
  void shutDown() override;

  // Files a new object in the scene graph. -1, and the object stays outside the world, when
  // the manager is not started.
  int insertObject(Object* object);
  // Takes the object out of every scene graph list; never deletes it.
  int removeObject(Object* object);
  // The object is deleted at the end of the current update pass, once however often it is
  // marked. -1 for null or when the deletions list cannot grow.
  int markForDelete(Object* object);

  // A copy of the active objects, followed by the inactive ones when inactive_too.
  ObjectList getAllObjects(bool inactive_too = false) const;
  // Active objects of the type.
  ObjectList objectsOfType(std::string object_type);
  // Used by object setters to keep the index current.
  SceneGraph& getSceneGraph() { return scene_graph; }

  // Solid objects other than object whose world boxes meet object's box placed at where, in
  // solid-list order. Spectral and inactive objects are never returned.
  ObjectList getCollisions(const Object* object, Vector where) const;
  // Moves with the solidness rules, sending collision and out events to the objects involved.
  // 0 if moved; -1 if refused, leaving position, direction and speed as they were. A handler
  // may destroy objects: a destroyed partner takes no further part, and a destroyed mover ends
  // the move (-1).
  int moveObject(Object* object, Vector where);

  // Moves every active object, then deletes those marked. Once per game-loop iteration.
  void update();
  // Draws visible objects inside the view (and view objects wherever they are), altitude
  // 0 first, 4 last.
  void draw();

  // The world's edges, in cells: an object whose box leaves them gets a "tx-out" event.
  // Stored as given. Only the extents count when the view is placed; the spatial grid tiles
  // them.
  void setBoundary(Box new_boundary);
  Box getBoundary() const { return boundary; }
  // The part of the world the window shows, in world cells. Stored as given.
  void setView(Box new_view) { view = new_view; }
  Box getView() const { return view; }
  // Centres the view on the position, clamped to the boundary's extents.
  void setViewPosition(Vector view_position);
  // Fractions (0 .. 1) of the view, centred, within which the followed object moves before
  // the view does. Out-of-range values are reported but stored.
  void setViewSlack(Vector new_view_slack);
  Vector getViewSlack() const { return view_slack; }
  // The object the view follows, not owned; null stops following. When the object is in the
  // world the view is centred on it at once. -1, and following unchanged, for an object that
  // is not in the world (it could be deleted without the view knowing).
  int setViewFollowing(Object* new_view_following);
  Object* getViewFollowing() const { return view_following; }

  // Collects the objects removed from the world while it lives, for a walk over a list of
  // objects that event handlers or destructors may destroy: their stale pointers are skipped.
  // Every object leaves the world in its destructor, started or not.
  class RemovalWatch {
   public:
    // Starts collecting; watches may nest, each sees the removals made while it lives.
    explicit RemovalWatch(WorldManager& init_world);
    ~RemovalWatch();
    RemovalWatch(const RemovalWatch&) = delete;
    RemovalWatch& operator=(const RemovalWatch&) = delete;
    // True when the object left the world since this watch began: its pointer is stale.
    bool saw(const Object* object) const { return removed.count(object) > 0; }

   private:
    friend class WorldManager;
    WorldManager& world;
    std::unordered_set<const Object*> removed;
  };

 private:
  WorldManager();
  // The parts of moveObject for a solid object. Each returns false when the move is refused.
  // The avoid-collisions slide: where and collisions become the slide's.
  bool slideAlong(Object* object, Vector& where, ObjectList& collisions) const;
  bool sendCollisions(Object* object, Vector where, const ObjectList& collisions);
  // Sets the position, then sends the out event and moves the view as they apply.
  void placeObject(Object* object, Vector where);
  // The update pass's moves, over its copy of the active list.
  void moveAll(const ObjectList& list);
  void deleteAll(const ObjectList& all);
  void followView(const Object* object);
  // Whether the object is a ViewObject, which is drawn wherever it is.
  bool isViewObject(const Object* object) const;

  SceneGraph scene_graph;
  ObjectList deletions;
  // The watches alive now, innermost last.
  std::vector<RemovalWatch*> removal_watches;
  // Each class the draw pass has met, and whether it is a ViewObject.
  mutable std::vector<std::pair<std::type_index, bool>> view_types;
  // Index of the deletion being carried out, -1 outside the deletion walk.
  int deletion_index = -1;
  Object* view_following = nullptr;
  Box boundary;
  Box view;
  Vector view_slack;
};

// The side of other's box on which object rests, components -1, 0 or 1 (y down, so (0, -1)
// means object is above other). (0, 0), with a log line, when they are not in contact.
Vector getNormal(const Object* object, const Object* other);

}  // namespace tx
