#pragma once

#include <vector>

#include "tolvex/core/Manager.h"

namespace tx {

class Object;
class PathFind;

// Advances every running path search a little each frame within a time budget and reports each
// finished search to its walking object with an EventPath. Searches are not owned here: their
// owner, normally the walking object, deletes a search once it is reported, and a deleted search
// leaves the list.
class PathManager : public Manager {
 public:
  // The process-wide path manager.
  static PathManager& getInstance();
  ~PathManager() override;
  PathManager(const PathManager&) = delete;
  PathManager& operator=(const PathManager&) = delete;

  // Sets the smallest per-frame budget to a tenth of the frame time. 0; nothing changes when
  // already started.
  int startUp() override;
  // Forgets every search (they stay alive; their owners delete them).
  void shutDown() override;

  // Runs search steps for max(budget_ms, frame time / 10) milliseconds, or until no search is
  // left. A finished search (status 0 or 2) is reported to its object at once and then leaves
  // the list even when the object's handler did not remove it. The clock is read after every
  // result and otherwise every few tens of microseconds of searching.
  void cycle(int budget_ms);
  // Runs search_steps search steps (at least one per search) spread over the searches in turn,
  // or until no search is left: the same work on every machine, for games that must replay
  // exactly.
  void cycleSteps(int search_steps);

  // Appends a search (a PathFind adds itself when constructed). -1 for null or one already there.
  int addPath(PathFind* search);
  // Removes every occurrence of the search; it is not deleted. -1 for null or a search not held.
  int removePath(PathFind* search);
  // Called when an object is destroyed: searches walked by it forget it and leave the list,
  // searches aiming at it drop their target and go on to the goal cell. Never deletes a search.
  void forgetObject(const Object* object);

  // Searches running.
  int getSearchCount() const { return static_cast<int>(searches.size()); }
  // Smallest budget of one cycle, in milliseconds.
  int getMinCycleTime() const { return min_cycle_time; }

 private:
  PathManager();
  // One step of the search, reporting its result if it ended; the effort it took.
  long long step(PathFind* search);

  std::vector<PathFind*> searches;
  int min_cycle_time = 3;
  // Index of the search being advanced; shared by all cycles.
  int cursor = 0;
  // The search whose final event is being handled; cleared when it is removed meanwhile.
  PathFind* reporting = nullptr;
};

}  // namespace tx
