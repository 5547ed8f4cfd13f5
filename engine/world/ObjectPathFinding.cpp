#include <memory>

#include "tolvex/core/LogManager.h"
#include "tolvex/path/PathFind.h"
#include "tolvex/world/Object.h"

namespace tx {

namespace {

// Starts a search and hands it to the walker, which deletes the one it replaces. When the
// search cannot run (its constructor has logged why) it is dropped and the walker keeps the
// search it had.
int startSearch(Object* walker, Vector goal, Object* target) {
  auto search = std::make_unique<PathFind>(walker, walker->getPosition(), goal, target);
  if (!search->hasNodes()) return -1;
  walker->setPathFind(std::move(search));
  return 0;
}

}  // namespace

int Object::findPath(Vector goal) { return startSearch(this, goal, nullptr); }

int Object::findPath(Object* target) {
  if (!target || target == this) {
    LogManager::getInstance().writeLog("Object::findPath(): Error! no other object to reach.");
    return -1;
  }
  return startSearch(this, target->getPosition(), target);
}

}  // namespace tx
