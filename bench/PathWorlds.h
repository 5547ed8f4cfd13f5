#pragma once

// The worlds the path benchmarks search: an 80 x 24 maze and a 400 x 200 world with four long
// walls, built of one-cell HARD walls in the running world manager, each with the walker's start
// and goal and a map of its walls for searches outside the engine.
#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "Timing.h"
#include "tolvex/path/PathFind.h"
#include "tolvex/path/PathManager.h"
#include "tolvex/world/Box.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

namespace bench {

struct PathWorld {
  const char* name;
  int width;
  int height;
  int start_x;
  int start_y;
  int goal_x;
  int goal_y;
  // width x height, row-major: true where a wall stands.
  std::vector<bool> walls;
  int wallCount() const {
    int count = 0;
    for (bool wall : walls) count += wall ? 1 : 0;
    return count;
  }
  bool isWall(int x, int y) const {
    return walls[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)];
  }
};

// A perfect maze on the odd cells of a (width - 1) x (height - 1) grid, carved depth first from
// (1, 1) with a fixed seed; every other cell of it is a wall.
inline PathWorld maze() {
  PathWorld world{"80 x 24 maze", 80, 24, 1, 1, 77, 21, std::vector<bool>(80 * 24, false)};
  const int width = 79;
  const int height = 23;
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
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) world.walls[y * 80 + x] = !open[y][x];
  return world;
}

// Four long walls with the gap at alternate ends force the search to sweep back and forth.
inline PathWorld longWalls() {
  PathWorld world{"400 x 200 open world with four long walls", 400, 200, 10, 100, 390, 100,
                  std::vector<bool>(400 * 200, false)};
  for (int k = 0; k < 4; ++k) {
    const int x = 80 * (k + 1);
    for (int y = 0; y < 200; ++y) {
      const bool gap = (k % 2 == 0) ? y >= 190 : y < 10;
      world.walls[y * 400 + x] = !gap;
    }
  }
  return world;
}

// Sets the running world manager's boundary to the world and fills it with its walls, which
// the world manager deletes at shut-down.
inline void place(const PathWorld& world) {
  tx::WorldManager::getInstance().setBoundary(
      tx::Box(tx::Vector(), static_cast<float>(world.width), static_cast<float>(world.height)));
  for (int y = 0; y < world.height; ++y) {
    for (int x = 0; x < world.width; ++x) {
      if (!world.isWall(x, y)) continue;
      auto* wall = new tx::Object;
      wall->setType("Wall");
      wall->setPosition(tx::Vector(static_cast<float>(x), static_cast<float>(y)));
    }
  }
}

// Starts the world and path managers, places the world in them and puts a walker at its start;
// the walker.
inline tx::Object* startSearch(const PathWorld& world) {
  tx::WorldManager::getInstance().startUp();
  tx::PathManager::getInstance().startUp();
  place(world);
  auto* walker = new tx::Object;
  walker->setPosition(
      tx::Vector(static_cast<float>(world.start_x), static_cast<float>(world.start_y)));
  return walker;
}

inline tx::Vector goalOf(const PathWorld& world) {
  return tx::Vector(static_cast<float>(world.goal_x), static_cast<float>(world.goal_y));
}

// Complete searches through the path manager's cycle with a budget large enough for one
// search; the median time. The walker receives and follows nothing in between.
inline double timeManagedSearch(tx::Object* walker, tx::Vector goal, int repeats) {
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    walker->findPath(goal);
    times.push_back(timeMicros([&] {
      while (walker->getPathFind() != nullptr) tx::PathManager::getInstance().cycle(1000000);
    }));
    walker->setFollowPath(false);
  }
  return median(times);
}

}  // namespace bench
