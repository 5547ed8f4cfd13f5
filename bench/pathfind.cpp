// Path search cost on two worlds: an 80 x 24 maze of hard walls and an open 400 x 200 world
// with long walls. Prints steps and microseconds per completed search (medians), stepped by hand
// and through the path manager's cycle(), beside the plain search (open list scanned, every cell
// asking the collision query, which walks the solid list) measured in the same run, with the
// plain-to-engine ratio; and how many frames one search needs when the path manager gets the
// smallest budget or most of a frame.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "PathWorlds.h"
#include "PlainPathSearch.h"
#include "Scratch.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/path/PathFind.h"
#include "tolvex/path/PathManager.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

namespace {

using tx::Vector;

struct Timing {
  int steps = 0;
  std::vector<Vector> path;
  double microseconds = 0.0;
};

// Runs complete searches step by step outside the manager; the median time.
Timing timeSearch(tx::Object* walker, Vector goal, int repeats) {
  Timing t;
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    tx::PathFind search(walker, walker->getPosition(), goal);
    tx::PathManager::getInstance().removePath(&search);
    int r = 1;
    t.steps = 0;
    times.push_back(bench::timeMicros([&] {
      while (r == 1) {
        r = search.cycleOnce();
        ++t.steps;
      }
    }));
    if (r != 2) std::printf("  search failed!\n");
    t.path = search.getPath().getNodes();
  }
  t.microseconds = bench::median(times);
  return t;
}

// The plain search with the collision query walking the solid list, as the engine searched
// before the grid and the heap.
Timing timePlainSearch(tx::Object* walker, const bench::PathWorld& world, int repeats) {
  tx::SceneGraph& graph = tx::WorldManager::getInstance().getSceneGraph();
  const int bucket_width = graph.getGridWidth();
  const int bucket_height = graph.getGridHeight();
  graph.setGrid(0, 0);
  Timing t;
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    tx::test::PlainPathSearch search(walker, world.start_x, world.start_y, world.goal_x,
                                     world.goal_y);
    times.push_back(bench::timeMicros([&] { search.run(); }));
    t.steps = search.steps;
    t.path = search.path();
  }
  graph.setGrid(bucket_width, bucket_height);
  t.microseconds = bench::median(times);
  return t;
}

// Frames of path-manager cycles with the given budget until the walker has its result.
int framesForSearch(tx::Object* walker, Vector goal, int budget_ms) {
  walker->findPath(goal);
  int frames = 0;
  while (walker->getPathFind() != nullptr && frames < 100000) {
    tx::PathManager::getInstance().cycle(budget_ms);
    ++frames;
  }
  return frames;
}

void report(const bench::PathWorld& world, int repeats, int plain_repeats) {
  tx::Object* walker = bench::startSearch(world);
  const Vector goal = bench::goalOf(world);

  const Timing t = timeSearch(walker, goal, repeats);
  std::printf("%s (%d hard walls)\n", world.name, world.wallCount());
  std::printf("  steps per search          %d (path of %zu cells)\n", t.steps, t.path.size());
  std::printf("  single steps:    %8.0f us per search, %6.2f us per step\n", t.microseconds,
              t.microseconds / t.steps);
  const double managed = bench::timeManagedSearch(walker, goal, repeats);
  std::printf("  through cycle(): %8.0f us per search, %6.2f us per step\n", managed,
              managed / t.steps);
  const Timing plain = timePlainSearch(walker, world, plain_repeats);
  std::printf("  plain search:    %8.0f us per search (%d steps, %s path)\n", plain.microseconds,
              plain.steps, plain.path == t.path ? "the same" : "A DIFFERENT");
  std::printf("  plain / through cycle(): %.0f times\n", plain.microseconds / managed);
  const int min_budget = tx::PathManager::getInstance().getMinCycleTime();
  std::printf("  frames at %2d ms per frame %d\n", min_budget, framesForSearch(walker, goal, 0));
  std::printf("  frames at 25 ms per frame %d\n", framesForSearch(walker, goal, 25));
  tx::WorldManager::getInstance().shutDown();
  tx::PathManager::getInstance().shutDown();
}

}  // namespace

int main() {
  bench::useScratch("pathfind", "");
  tx::LogManager::getInstance().startUp();
  report(bench::maze(), 20, 3);
  report(bench::longWalls(), 3, 1);
  tx::LogManager::getInstance().shutDown();
  return 0;
}
