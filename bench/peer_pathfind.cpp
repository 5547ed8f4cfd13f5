// The engine's path search against libtcod's A* on the same two worlds, in one run: the 80 x 24
// maze and the 400 x 200 world with four long walls. libtcod gets the walls as a map and the
// engine's step rule through its cost function (no step into a wall, no diagonal step beside
// one, diagonal steps costing the square root of 2), so both find paths of the same cost.
// Prints microseconds per search (medians) for each (the engine's through the path manager's
// cycle), the libtcod-to-engine ratio (above 1: the engine is faster) and how the paths compare.
// Built only when libtcod is installed (tools/install-peers).
#include <libtcod/path.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "PathWorlds.h"
#include "Scratch.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/path/PathFind.h"
#include "tolvex/path/PathManager.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

namespace {

using tx::Vector;

struct Run {
  double microseconds = 0.0;
  std::vector<Vector> path;
};

Run engineSearch(const bench::PathWorld& world, int repeats) {
  tx::Object* walker = bench::startSearch(world);
  const Vector goal = bench::goalOf(world);
  Run run;
  run.microseconds = bench::timeManagedSearch(walker, goal, repeats);
  run.path = walker->getPath().getNodes();
  tx::WorldManager::getInstance().shutDown();
  tx::PathManager::getInstance().shutDown();
  return run;
}

// 0 closes the step to libtcod; 1 is a step's cost before its diagonal factor.
float stepCost(int from_x, int from_y, int to_x, int to_y, void* user_data) {
  const auto* world = static_cast<const bench::PathWorld*>(user_data);
  if (world->isWall(to_x, to_y)) return 0.0f;
  const bool diagonal = from_x != to_x && from_y != to_y;
  if (diagonal && (world->isWall(to_x, from_y) || world->isWall(from_x, to_y))) return 0.0f;
  return 1.0f;
}

Run libtcodSearch(const bench::PathWorld& world, int repeats) {
  Run run;
  auto* data = const_cast<bench::PathWorld*>(&world);
  TCOD_path_t path =
      TCOD_path_new_using_function(world.width, world.height, stepCost, data, std::sqrt(2.0f));
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    times.push_back(bench::timeMicros([&] {
      TCOD_path_compute(path, world.start_x, world.start_y, world.goal_x, world.goal_y);
    }));
  }
  run.microseconds = bench::median(times);
  run.path.emplace_back(static_cast<float>(world.start_x), static_cast<float>(world.start_y));
  for (int i = 0; i < TCOD_path_size(path); ++i) {
    int x = 0;
    int y = 0;
    TCOD_path_get(path, i, &x, &y);
    run.path.emplace_back(static_cast<float>(x), static_cast<float>(y));
  }
  TCOD_path_delete(path);
  return run;
}

// Straight steps cost 1, diagonal ones the square root of 2.
double cost(const std::vector<Vector>& path) {
  double total = 0.0;
  for (std::size_t i = 1; i < path.size(); ++i) total += tx::distance(path[i - 1], path[i]);
  return total;
}

void compare(const bench::PathWorld& world, int repeats) {
  const Run ours = engineSearch(world, repeats);
  const Run theirs = libtcodSearch(world, repeats);
  std::printf("%s (%d walls)\n", world.name, world.wallCount());
  std::printf("  engine, through cycle(): %9.1f us per search, path of %zu cells, cost %.2f\n",
              ours.microseconds, ours.path.size(), cost(ours.path));
  std::printf("  libtcod:                 %9.1f us per search, path of %zu cells, cost %.2f\n",
              theirs.microseconds, theirs.path.size(), cost(theirs.path));
  std::printf("  libtcod / engine: %.2f (above 1: the engine is faster); paths %s\n",
              theirs.microseconds / ours.microseconds,
              ours.path == theirs.path                                ? "identical"
              : std::fabs(cost(ours.path) - cost(theirs.path)) < 1e-3 ? "differ, of equal cost"
                                                                      : "DIFFER IN COST");
}

}  // namespace

int main() {
  bench::useScratch("peer-pathfind", "");
  tx::LogManager::getInstance().startUp();
  compare(bench::maze(), 50);
  compare(bench::longWalls(), 5);
  tx::LogManager::getInstance().shutDown();
  return 0;
}
