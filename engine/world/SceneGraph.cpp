#include "world/SceneGraph.h"

#include "core/GameManager.h"
#include "core/LogManager.h"

namespace tx {

namespace {

bool altitudeInRange(int altitude) { return altitude >= 0 && altitude <= MAX_ALTITUDE; }

// During shut-down (game over) objects leave in an order the lists were not built for, so
// some bookkeeping failures are expected there and neither reported nor counted.
bool gameOver() { return GameManager::getInstance().getGameOver(); }

}  // namespace

int SceneGraph::startUp() {
  type_map.clear();
  LogManager::getInstance().writeLog(1, "Scenegraph configuration: SIMPLE");
  return 0;
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
  if (object->isSolid() && solid_objects.insert(object) == -1) {
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
    if (object->isSolid() && solid_objects.remove(object) == -1) ++failures;
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

ObjectList SceneGraph::solidObjects() const { return solid_objects; }

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
  const LogManager& log = LogManager::getInstance();
  const std::string type = object->getType();
  const bool quiet = gameOver();
  int result = 0;
  // A failure that game over excuses is neither written nor counted.
  auto fail = [&](const char* fmt) {
    if (quiet) return;
    log.writeLog(fmt, type.c_str());
    result = -1;
  };

  if (object->isActive()) {
    if (objects.remove(object) == -1) {
      fail("SceneGraph::updateActive(): remove object (%s) failed for objects!");
    }
    if (type_map[type].remove(object) == -1) result = -1;
    if (object->isVisible()) {
      const int altitude = object->getAltitude();
      if (!altitudeInRange(altitude) || visible_objects[altitude].remove(object) == -1) {
        fail("SceneGraph::updateActive(): remove visible object (%s) failed for visible_objects!");
      }
    }
    if (object->isSolid() && solid_objects.remove(object) == -1) {
      fail("SceneGraph::updateActive(): remove object (%s) failed for solid_objects!");
    }
    if (inactive_objects.insert(object) == -1) {
      fail("SceneGraph::updateActive(): insert object (%s) failed for inactive_objects!");
    }
    return result;
  }

  if (objects.insert(object) == -1) {
    fail("SceneGraph::updateActive(): insert Object (%s) failed for objects!");
  }
  if (type_map[type].insert(object) == -1) {
    log.writeLog("SceneGraph::updateActive(): Error! insert Object (%s) failed for type map!",
                 type.c_str());
    return -1;
  }
  if (object->isVisible()) {
    const int altitude = object->getAltitude();
    if (!altitudeInRange(altitude) || visible_objects[altitude].insert(object) == -1) {
      fail("SceneGraph::updateActive(): insert Object (%s) failed for visible_objects!");
    }
  }
  if (object->isSolid() && solid_objects.insert(object) == -1) {
    fail("SceneGraph::updateActive(): insert object (%s) failed for solid_objects!");
  }
  if (inactive_objects.remove(object) == -1) {
    fail("SceneGraph::updateActive(): remove object (%s) failed for inactive_objects!");
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
  if (object->isSolid() && !new_solid) {
    if (solid_objects.remove(object) == -1 && !gameOver()) {
      LogManager::getInstance().writeLog(
          "SceneGraph::updateSolidness(): unable to remove solid object (%s)",
          object->getType().c_str());
    }
  } else if (!object->isSolid() && new_solid) {
    if (solid_objects.insert(object) == -1 && !gameOver()) {
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

int SceneGraph::updatePosition(Object* /*object*/, Vector /*new_position*/) { return 0; }

}  // namespace tx
