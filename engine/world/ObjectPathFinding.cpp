#include "core/LogManager.h"
#include "path/PathFind.h"
#include "path/PathManager.h"
#include "world/Object.h"

namespace tx {

namespace {

// Starts a search and keeps it in slot, deleting the one it replaces. When the search cannot
// run (its constructor has logged why) it is deleted again and slot is left alone.
int replaceSearch(PathFind*& slot, Object* walker, Vector goal, Object* target) {
  PathFind* search = new PathFind(walker, walker->getPosition(), goal, target);
  if (!search->hasNodes()) {
    delete search;
    return -1;
  }
  PathFind* old = slot;
  slot = search;
  if (old) {
    PathManager::getInstance().removePath(old);
    delete old;
  }
  return 0;
}

}  // namespace

int Object::findPath(Vector goal) { return replaceSearch(path_find, this, goal, nullptr); }

int Object::findPath(Object* target) {
  if (!target || target == this) {
    LogManager::getInstance().writeLog("Object::findPath(): Error! no other object to reach.");
    return -1;
  }
  return replaceSearch(path_find, this, target->getPosition(), target);
}

}  // namespace tx
