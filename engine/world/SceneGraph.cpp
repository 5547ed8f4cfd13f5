#include "tolvex/world/SceneGraph.h"

#include <algorithm>

#include "tolvex/core/Config.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/core/ObjectListIterator.h"

namespace tx {

namespace {

bool altitudeInRange(int altitude) { return altitude >= 0 && altitude <= MAX_ALTITUDE; }

// During shut-down (game over) objects leave in an order the lists were not built for, so
// some bookkeeping failures are expected there and neither reported nor counted.
bool gameOver() { return GameManager::getInstance().getGameOver(); }

// An updateActive failure: written and counted unless game over excuses it.
void failActive(const char* fmt, const std::string& type, int& result) {
  if (gameOver()) return;
  LogManager::getInstance().writeLog(fmt, type.c_str());
  result = -1;
}

// Whether other is solid here for object, the rule every "what is solid here" answer applies.
bool meets(const Object* object, const Box& area, const Object* other) {
  return other != object && other->isSolid() && boxIntersectsBox(area, getWorldBox(other));
}

}  // namespace

int SceneGraph::startUp() {
  type_map.clear();
  const LogManager& log = LogManager::getInstance();
  log.writeLog(1, "Scenegraph configuration: SIMPLE");
  const Config& config = Config::getInstance();
  setGrid(config.getGridWidth(), config.getGridHeight());
  if (grid_on) {
    log.writeLog("SceneGraph::startUp(): spatial index on, buckets of %d x %d cells", grid_width,
                 grid_height);
  } else {
    log.writeLog(
        "SceneGraph::startUp(): spatial index off (grid_width %d, grid_height %d), collisions "
        "walk the solid list",
        config.getGridWidth(), config.getGridHeight());
  }
  return 0;
}

void SceneGraph::setGrid(int width, int height) {
  grid.clear();
  grid_on = width > 0 && height > 0;
  grid_width = grid_on ? width : 0;
  grid_height = grid_on ? height : 0;
  if (!grid_on) return;
  grid.resize(width, height, extent.getX(), extent.getY());
  // In list order, so that the grid's order of insertion is the list's.
  for (ObjectListIterator it(&solid_objects); !it.isDone(); it.next()) {
    grid.insert(it.currentObject(), getWorldBox(it.currentObject()));
  }
}

void SceneGraph::setExtent(float horizontal, float vertical) {
  extent = Vector(horizontal, vertical);
  if (grid_on) grid.resize(grid_width, grid_height, horizontal, vertical);
}

void SceneGraph::solidObjectsAt(const Object* object, const Box& area, ObjectList& out) const {
  if (!grid_on) {
    for (ObjectListIterator it(&solid_objects); !it.isDone(); it.next()) {
      if (meets(object, area, it.currentObject())) out.insert(it.currentObject());
    }
    return;
  }
  candidates.clear();
  grid.candidates(area, candidates);
  const auto missed = [&](const SpatialGrid::Candidate& c) {
    return !meets(object, area, c.object);
  };
  candidates.erase(std::remove_if(candidates.begin(), candidates.end(), missed), candidates.end());
  std::sort(candidates.begin(), candidates.end(),
            [](const SpatialGrid::Candidate& a, const SpatialGrid::Candidate& b) {
              return a.sequence < b.sequence;
            });
  for (const SpatialGrid::Candidate& c : candidates) out.insert(c.object);
}

int SceneGraph::addSolid(Object* object) {
  if (solid_objects.insert(object) == -1) return -1;
  if (grid_on) grid.insert(object, getWorldBox(object));
  ++solid_revision;
  return 0;
}

int SceneGraph::removeSolid(Object* object) {
  grid.remove(object);
  ++solid_revision;
  return solid_objects.remove(object);
}

void SceneGraph::shutDown() { type_map.clear(); }

int SceneGraph::insertObject(Object* object) {
  if (object == nullptr) return -1;
  const LogManager& log = LogManager::getInstance();
  if (!object->isActive()) return inactive_objects.insert(object);

  if (objects.insert(object) == -1) {
    log.writeLog("SceneGraph::insertObject(): Error! unable to insert active Object (id %d)",
                 object->getId());
    return -1;
  }
  if (type_map[object->getType()].insert(object) == -1) {
    log.writeLog("SceneGraph::insertObject(): Error! unable to insert Object (id %d) into type map",
                 object->getId());
    return -1;
  }
  if (object->isSolid() && addSolid(object) == -1) {
    log.writeLog("SceneGraph::insertObject(): Error! unable to insert solid Object (id %d)",
                 object->getId());
    return -1;
  }
  if (object->isVisible()) {
    const int altitude = object->getAltitude();
    if (!altitudeInRange(altitude)) {
      log.writeLog("SceneGraph::insertObject(): Warning! Altitude %d not in range [%d,%d]",
                   altitude, 0, MAX_ALTITUDE);
      return -1;
    }
    if (visible_objects[altitude].insert(object) == -1) {
      log.writeLog("SceneGraph::insertObject(): Error! unable to insert visible object (id %d)",
                   object->getId());
      return -1;
    }
  }
  return 0;
}

int SceneGraph::removeObject(Object* object) {
  if (object == nullptr) return -1;
  int failures = 0;
  if (!object->isActive()) {
    if (inactive_objects.remove(object) == -1) ++failures;
  } else {
    if (objects.remove(object) == -1) ++failures;
    auto entry = type_map.find(object->getType());
    if (entry == type_map.end() || entry->second.remove(object) == -1) ++failures;
    if (object->isVisible()) {
      const int altitude = object->getAltitude();
      if (!altitudeInRange(altitude) || visible_objects[altitude].remove(object) == -1) {
        ++failures;
      }
    }
    if (object->isSolid() && removeSolid(object) == -1) ++failures;
  }
  if (failures > 0) {
    LogManager::getInstance().writeLog(
        "SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.",
        object->getId(), static_cast<void*>(object));
    return -1;
  }
  return 0;
}

ObjectList SceneGraph::activeObjects() const { return objects; }

ObjectList SceneGraph::inactiveObjects() const { return inactive_objects; }

ObjectList SceneGraph::visibleObjects(int altitude) const {
  if (!altitudeInRange(altitude)) {
    LogManager::getInstance().writeLog(
        "SceneGraph::visibleObjects(): Warning! altitude %d not in [%d,%d].", altitude, 0,
        MAX_ALTITUDE);
    return ObjectList();
  }
  return visible_objects[altitude];
}

ObjectList SceneGraph::objectsOfType(std::string type) { return type_map[type]; }

int SceneGraph::updateActive(Object* object, bool active) {
  if (object == nullptr) return -1;
  if (active == object->isActive()) return 0;
  return object->isActive() ? deactivate(object) : activate(object);
}

int SceneGraph::deactivate(Object* object) {
  const std::string type = object->getType();
  int result = 0;
  if (objects.remove(object) == -1) {
    failActive("SceneGraph::updateActive(): remove object (%s) failed for objects!", type, result);
  }
  if (type_map[type].remove(object) == -1) result = -1;
  if (object->isVisible()) {
    const int altitude = object->getAltitude();
    if (!altitudeInRange(altitude) || visible_objects[altitude].remove(object) == -1) {
      failActive(
          "SceneGraph::updateActive(): remove visible object (%s) failed for visible_objects!",
          type, result);
    }
  }
  if (object->isSolid() && removeSolid(object) == -1) {
    failActive("SceneGraph::updateActive(): remove object (%s) failed for solid_objects!", type,
               result);
  }
  if (inactive_objects.insert(object) == -1) {
    failActive("SceneGraph::updateActive(): insert object (%s) failed for inactive_objects!", type,
               result);
  }
  return result;
}

int SceneGraph::activate(Object* object) {
  const std::string type = object->getType();
  int result = 0;
  if (objects.insert(object) == -1) {
    failActive("SceneGraph::updateActive(): insert Object (%s) failed for objects!", type, result);
  }
  if (type_map[type].insert(object) == -1) {
    LogManager::getInstance().writeLog(
        "SceneGraph::updateActive(): Error! insert Object (%s) failed for type map!", type.c_str());
    return -1;
  }
  if (object->isVisible()) {
    const int altitude = object->getAltitude();
    if (!altitudeInRange(altitude) || visible_objects[altitude].insert(object) == -1) {
      failActive("SceneGraph::updateActive(): insert Object (%s) failed for visible_objects!", type,
                 result);
    }
  }
  if (object->isSolid() && addSolid(object) == -1) {
    failActive("SceneGraph::updateActive(): insert object (%s) failed for solid_objects!", type,
               result);
  }
  if (inactive_objects.remove(object) == -1) {
    failActive("SceneGraph::updateActive(): remove object (%s) failed for inactive_objects!", type,
               result);
  }
  return result;
}

int SceneGraph::updateVisible(Object* object, bool visible) {
  if (object == nullptr) return -1;
  if (!object->isActive() || visible == object->isVisible()) return 0;
  const int altitude = object->getAltitude();
  if (!altitudeInRange(altitude)) return -1;
  const LogManager& log = LogManager::getInstance();
  if (object->isVisible()) {
    if (visible_objects[altitude].remove(object) == -1 && !gameOver()) {
      log.writeLog("SceneGraph::updateVisible(): unable to remove visible object (%s)",
                   object->getType().c_str());
      return -1;
    }
  } else if (visible_objects[altitude].insert(object) == -1 && !gameOver()) {
    log.writeLog("SceneGraph::updateVisible(): unable to add visible object (%s)",
                 object->getType().c_str());
    return -1;
  }
  return 0;
}

int SceneGraph::updateAltitude(Object* object, int new_altitude) {
  if (object == nullptr) return -1;
  if (!object->isActive()) return 0;
  const LogManager& log = LogManager::getInstance();
  if (!altitudeInRange(new_altitude)) {
    log.writeLog("SceneGraph::updateAltitude(): New altitude %d not in [%d,%d]!  No update.",
                 new_altitude, 0, MAX_ALTITUDE);
    return -1;
  }
  const int old_altitude = object->getAltitude();
  if (!altitudeInRange(old_altitude)) {
    log.writeLog(
        "SceneGraph::updateAltitude(): Old altitude %d not in [%d,%d]! This is unxepected. No "
        "update.",
        old_altitude, 0, MAX_ALTITUDE);
    return -1;
  }
  if (object->isVisible()) {
    if (visible_objects[old_altitude].remove(object) == -1 && !gameOver()) {
      log.writeLog("SceneGraph::updateAltitude(): remove from old altitude (%d) failed!",
                   old_altitude);
      return -1;
    }
    if (visible_objects[new_altitude].insert(object) == -1) {
      log.writeLog("SceneGraph::updateAltitude()): insert visible object at altitude %d failed!",
                   new_altitude);
      return -1;
    }
  }
  return 0;
}

int SceneGraph::updateSolidness(Object* object, Solidness new_solidness) {
  if (object == nullptr) return -1;
  if (!object->isActive()) return 0;
  const bool new_solid = new_solidness == HARD || new_solidness == SOFT;
  // HARD and SOFT answer "what blocks here" differently, so any change counts.
  ++solid_revision;
  if (object->isSolid() && !new_solid) {
    if (removeSolid(object) == -1 && !gameOver()) {
      LogManager::getInstance().writeLog(
          "SceneGraph::updateSolidness(): unable to remove solid object (%s)",
          object->getType().c_str());
    }
  } else if (!object->isSolid() && new_solid) {
    if (addSolid(object) == -1 && !gameOver()) {
      LogManager::getInstance().writeLog(
          "SceneGraph::updateSolidness(): Error! unable to insert solid object");
      return -1;
    }
  }
  return 0;
}

int SceneGraph::updateType(Object* object, std::string new_type) {
  if (object == nullptr) return -1;
  if (!object->isActive()) return 0;
  const LogManager& log = LogManager::getInstance();
  const std::string old_type = object->getType();
  if (type_map[old_type].remove(object) == -1) {
    log.writeLog("SceneGraph::updateType(): Error! Unable to remove Object (%d) type %s",
                 object->getId(), old_type.c_str());
    return -1;
  }
  if (type_map[new_type].insert(object) == -1) {
    log.writeLog("SceneGraph::updateType(): Error! Unable to insert Object (%d) type %s",
                 object->getId(), old_type.c_str());
    return -1;
  }
  return 0;
}

int SceneGraph::updatePosition(Object* object, Vector new_position) {
  if (object == nullptr || !object->isActive() || !object->isSolid()) return 0;
  grid.move(object, getWorldBox(object, new_position));
  ++solid_revision;
  return 0;
}

int SceneGraph::updateBox(Object* object, Box new_box) {
  if (object == nullptr || !object->isActive() || !object->isSolid()) return 0;
  grid.move(object, boxAt(new_box, object->getPosition()));
  ++solid_revision;
  return 0;
}

}  // namespace tx
