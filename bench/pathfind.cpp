// Path search cost on two worlds: an 80 x 24 maze of hard walls and an open 400 x 200 world
// with long walls. Prints steps and microseconds per completed search, and how many frames of
// spare time one search needs when the path manager gets the smallest budget or most of a frame.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/GameManager.h"
#include "core/LogManager.h"
#include "path/PathFind.h"
#include "path/PathManager.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace {

using tx::Vector;

void wallAt(int x, int y) {
  auto* w = new tx::Object;
  w->setType("Wall");
  w->setPosition(Vector(static_cast<float>(x), static_cast<float>(y)));
}

// A perfect maze on the odd cells of a width x height grid (both odd), carved depth first
// from (1, 1) with a fixed seed; every other cell is a hard wall. Returns the wall count.
int buildMaze(int width, int height) {
  std::vector<std::vector<bool>> open(height, std::vector<bool>(width, false));
  std::mt19937 rng(12345);
  std::vector<std::pair<int, int>> stack{{1, 1}};
  open[1][1] = true;
  const int dirs[4][2] = {{2, 0}, {-2, 0}, {0, 2}, {0, -2}};
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    std::vector<int> choices;
    for (int d = 0; d < 4; ++d) {
      const int nx = x + dirs[d][0];
      const int ny = y + dirs[d][1];
      if (nx > 0 && nx < width - 1 && ny > 0 && ny < height - 1 && !open[ny][nx])
        choices.push_back(d);
    }
    if (choices.empty()) {
      stack.pop_back();
      continue;
    }
    const int d = choices[rng() % choices.size()];
    open[y + dirs[d][1] / 2][x + dirs[d][0] / 2] = true;
    open[y + dirs[d][1]][x + dirs[d][0]] = true;
    stack.emplace_back(x + dirs[d][0], y + dirs[d][1]);
  }
  int walls = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!open[y][x]) {
        wallAt(x, y);
        ++walls;
      }
    }
  }
  return walls;
}

struct Timing {
  int steps = 0;
  int path_length = 0;
  double microseconds = 0.0;
};

// Runs complete searches step by step outside the manager and averages them.
Timing timeSearch(tx::Object* walker, Vector goal, int repeats) {
  Timing t;
  for (int i = 0; i < repeats; ++i) {
    tx::PathFind search(walker, walker->getPosition(), goal);
    tx::PathManager::getInstance().removePath(&search);
    int steps = 0;
    int r = 1;
    const auto begin = std::chrono::steady_clock::now();
    while (r == 1) {
      r = search.cycleOnce();
      ++steps;
    }
    const auto end = std::chrono::steady_clock::now();
    if (r != 2) std::printf("  search failed!\n");
    t.steps = steps;
    t.path_length = static_cast<int>(search.getPath().getNodes().size());
    t.microseconds += std::chrono::duration<double, std::micro>(end - begin).count();
  }
  t.microseconds /= repeats;
  return t;
}

// Complete searches through the path manager's cycle with a budget large enough for one
// search, averaged; the walker receives and follows nothing in between.
double timeManagedSearch(tx::Object* walker, Vector goal, int repeats) {
  double total = 0.0;
  for (int i = 0; i < repeats; ++i) {
    walker->findPath(goal);
    const auto begin = std::chrono::steady_clock::now();
    while (walker->getPathFind() != nullptr) tx::PathManager::getInstance().cycle(1000000);
    const auto end = std::chrono::steady_clock::now();
    walker->setFollowPath(false);
    total += std::chrono::duration<double, std::micro>(end - begin).count();
  }
  return total / repeats;
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

void report(const char* name, int walls, tx::Object* walker, Vector goal, int repeats) {
  const Timing t = timeSearch(walker, goal, repeats);
  std::printf("%s (%d hard walls)\n", name, walls);
  std::printf("  steps per search          %d (path of %d cells)\n", t.steps, t.path_length);
  std::printf("  single steps:    %8.0f us per search, %6.2f us per step\n", t.microseconds,
              t.microseconds / t.steps);
  const double managed = timeManagedSearch(walker, goal, repeats);
  std::printf("  through cycle(): %8.0f us per search, %6.2f us per step\n", managed,
              managed / t.steps);
  const int min_budget = tx::PathManager::getInstance().getMinCycleTime();
  std::printf("  frames at %2d ms per frame %d\n", min_budget, framesForSearch(walker, goal, 0));
  std::printf("  frames at 25 ms per frame %d\n", framesForSearch(walker, goal, 25));
}

}  // namespace

int main() {
  setenv("TOLVEX_LOG", "/tmp/bench_pathfind.log", 1);
  setenv("TOLVEX_CONFIG", "/tmp/bench_pathfind-no-config.txt", 1);
  tx::LogManager::getInstance().startUp();
  tx::WorldManager& world = tx::WorldManager::getInstance();
  world.startUp();
  tx::PathManager::getInstance().startUp();

  world.setBoundary(tx::Box(Vector(), 80.0f, 24.0f));
  const int maze_walls = buildMaze(79, 23);
  auto* walker = new tx::Object;
  walker->setPosition(Vector(1.0f, 1.0f));
  report("80 x 24 maze", maze_walls, walker, Vector(77.0f, 21.0f), 20);
  world.shutDown();

  world.startUp();
  tx::PathManager::getInstance().startUp();
  world.setBoundary(tx::Box(Vector(), 400.0f, 200.0f));
  int walls = 0;
  // Four long walls with the gap at alternate ends force the search to sweep back and forth.
  for (int k = 0; k < 4; ++k) {
    const int x = 80 * (k + 1);
    for (int y = 0; y < 200; ++y) {
      const bool gap = (k % 2 == 0) ? y >= 190 : y < 10;
      if (!gap) {
        wallAt(x, y);
        ++walls;
      }
    }
  }
  walker = new tx::Object;
  walker->setPosition(Vector(10.0f, 100.0f));
  report("400 x 200 open world with four long walls", walls, walker, Vector(390.0f, 100.0f), 3);
  world.shutDown();
  tx::PathManager::getInstance().shutDown();
  tx::LogManager::getInstance().shutDown();
  return 0;
}
