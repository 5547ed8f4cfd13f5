#include "tolvex/path/PathManager.h"

#include <algorithm>

#include "tolvex/core/Clock.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/path/EventPath.h"
#include "tolvex/path/PathFind.h"
#include "tolvex/world/Object.h"

namespace tx {

namespace {

// Search effort (cells and obstacles examined, PathFind::getEffort) between two readings of
// the clock: some tens of microseconds of searching.
constexpr long long EFFORT_PER_READING = 1024;

}  // namespace

PathManager::PathManager() { setType("PathManager"); }

PathManager::~PathManager() = default;

PathManager& PathManager::getInstance() {
  static PathManager instance;
  return instance;
}

int PathManager::startUp() {
  if (isStarted()) {
    LogManager::getInstance().writeLog("PathManager::startup(): already started.");
    return 0;
  }
  min_cycle_time = GameManager::getInstance().getFrameTime() / 10;
  cursor = 0;
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "PathManager::startUp(): successfully started.");
  return 0;
}

void PathManager::shutDown() {
  searches.clear();
  cursor = 0;
  reporting = nullptr;
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "PathManager::shutDown(): successfully stopped.");
}

void PathManager::cycle(int budget_ms) {
  const int b = std::max(min_cycle_time, budget_ms);
  Clock clock;
  int elapsed_ms = 0;
  long long unread_effort = 0;
  while (!searches.empty() && elapsed_ms < b) {
    cursor = 0;
    while (cursor < static_cast<int>(searches.size())) {
      unread_effort += step(searches[cursor]);
      ++cursor;
      // A reading of the clock costs about as much as a search step, and the clock only tells
      // whole milliseconds: it is read once enough work has been done to matter.
      if (unread_effort < EFFORT_PER_READING) continue;
      unread_effort = 0;
      elapsed_ms = clock.split() / 1000;
      if (elapsed_ms > b) break;
    }
  }
  if (clock.split() / 1000 > b) {
    LogManager::getInstance().writeLog(5, "PathManager::cycle(): cycle time %d exceeded.", b);
  }
}

void PathManager::cycleSteps(int search_steps) {
  // Every search gets a step each frame, however many there are.
  const int budget = std::max({1, search_steps, getSearchCount()});
  int done = 0;
  while (!searches.empty() && done < budget) {
    cursor = 0;
    while (cursor < static_cast<int>(searches.size()) && done < budget) {
      step(searches[cursor]);
      ++cursor;
      ++done;
    }
  }
}

long long PathManager::step(PathFind* search) {
  const long long effort_before = search->getEffort();
  const int r = search->cycleOnce();
  if (r != 0 && r != 2) return search->getEffort() - effort_before;
  EventPath event(r, search->getPath());
  // The handler normally removes and deletes the search; reporting tells whether it did.
  reporting = search;
  if (Object* walker = search->getObject()) walker->eventHandler(&event);
  // A search whose object ignored the result would otherwise report again every step.
  if (reporting) removePath(reporting);
  reporting = nullptr;
  // A handler may take any time: the clock is read after it.
  return EFFORT_PER_READING;
}

int PathManager::addPath(PathFind* search) {
  if (!search) {
    LogManager::getInstance().writeLog("PathManager::addPath(): Error! null search.");
    return -1;
  }
  if (std::find(searches.begin(), searches.end(), search) != searches.end()) return -1;
  searches.push_back(search);
  return 0;
}

int PathManager::removePath(PathFind* search) {
  if (!search) return -1;
  auto end = std::remove(searches.begin(), searches.end(), search);
  if (end == searches.end()) return -1;
  searches.erase(end, searches.end());
  if (search == reporting) reporting = nullptr;
  return 0;
}

void PathManager::forgetObject(const Object* object) {
  if (!object) return;
  for (PathFind* search : searches) {
    if (search->getTarget() == object) search->clearTarget();
  }
  std::vector<PathFind*> walked_by;
  for (PathFind* search : searches) {
    if (search->getObject() == object) walked_by.push_back(search);
  }
  // Whoever owns such a search may still step it or ask for its path.
  for (PathFind* search : walked_by) {
    search->clearObject();
    removePath(search);
  }
}

}  // namespace tx
