#include "tolvex/core/Manager.h"

#include "tolvex/core/Event.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

Manager::Manager() = default;

Manager::~Manager() = default;

bool Manager::isValid(std::string label) const {
  (void)label;
  return false;
}

int Manager::startUp() {
  if (is_started)
    LogManager::getInstance().writeLog(1, "Manager::startUp(): Warning! %s already started.",
                                       type.c_str());
  is_started = true;
  return 0;
}

void Manager::shutDown() {
  if (!is_started)
    LogManager::getInstance().writeLog(1, "Manager::shutDown(): Warning! %s not started.",
                                       type.c_str());
  is_started = false;
}

int Manager::registerInterest(Object* object, std::string label) {
  if (!isValid(label)) {
    LogManager::getInstance().writeLog(
        "Manager(%s)::registerInterest(): Event '%s' not valid for this Manager", type.c_str(),
        label.c_str());
    return -1;
  }
  for (int i = 0; i < event_count; ++i)
    if (event_name[i] == label) return obj_list[i].insert(object);
  if (event_count == MAX_EVENTS) {
    LogManager::getInstance().writeLog(
        "Manager(%s)::registerInterest(): Error! maximum (%d) labels reached, cannot register "
        "for event '%s'",
        type.c_str(), MAX_EVENTS, label.c_str());
    return -1;
  }
  event_name[event_count] = label;
  obj_list[event_count].clear();
  if (obj_list[event_count].insert(object) != 0) return -1;
  ++event_count;
  return 0;
}

int Manager::unregisterInterest(Object* object, std::string label) {
  int slot = -1;
  for (int i = 0; i < event_count && slot < 0; ++i)
    if (event_name[i] == label) slot = i;
  if (slot < 0) return -1;
  if (obj_list[slot].remove(object) != 0) return -1;
  if (obj_list[slot].isEmpty()) {
    for (int j = slot + 1; j < event_count; ++j) {
      event_name[j - 1] = event_name[j];
      obj_list[j - 1] = obj_list[j];
    }
    --event_count;
  }
  return 0;
}

int Manager::onEvent(const Event* event) const {
  if (event == nullptr) return 0;
  const std::string label = event->getType();
  if (label == UNDEFINED_EVENT) {
    LogManager::getInstance().writeLog(
        1, "Manager(%s)::onEvent(): Warning! Event type %s is undefined.", type.c_str(),
        label.c_str());
    return 0;
  }
  if (!isValid(label)) {
    LogManager::getInstance().writeLog(1, "Manager(%s)::onEvent(): Error! Event type %s not valid.",
                                       type.c_str(), label.c_str());
    return 0;
  }
  int count = 0;
  for (int i = 0; i < event_count; ++i) {
    if (event_name[i] != label) continue;
    // Handlers may register and unregister while we walk, so walk a copy; they may also
    // destroy objects still to be called, whose pointers in the copy are then stale.
    const ObjectList listeners = obj_list[i];
    const WorldManager::RemovalWatch removed(WorldManager::getInstance());
    ObjectListIterator it(&listeners);
    for (it.first(); !it.isDone(); it.next()) {
      Object* object = it.currentObject();
      if (removed.saw(object) || !object->isActive()) continue;
      object->eventHandler(event);
      ++count;
    }
    // Labels are unique within the table.
    break;
  }
  return count;
}

}  // namespace tx
