#pragma once

#include <vector>

#include "TestSupport.h"
#include "core/LogManager.h"
#include "path/EventPath.h"
#include "path/PathFind.h"
#include "path/PathManager.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace tx::test {

// Starts the log (flushed), the world manager with a 20 x 15 boundary, and the path manager.
class PathTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(LogManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    ASSERT_EQ(WorldManager::getInstance().startUp(), 0);
    setWorld(20, 15);
    ASSERT_EQ(PathManager::getInstance().startUp(), 0);
  }

  void TearDown() override {
    PathManager::getInstance().shutDown();
    WorldManager::getInstance().shutDown();
    LogManager::getInstance().shutDown();
    EngineTest::TearDown();
  }

  static void setWorld(int width, int height) {
    const Box box(Vector(), static_cast<float>(width), static_cast<float>(height));
    WorldManager::getInstance().setBoundary(box);
    WorldManager::getInstance().setView(box);
  }

  static PathManager& paths() { return PathManager::getInstance(); }

  // A one-cell HARD obstacle.
  static Object* wall(int x, int y) {
    auto* w = new Object;
    w->setType("Wall");
    w->setPosition(Vector(static_cast<float>(x), static_cast<float>(y)));
    return w;
  }

  // Cycles the path manager (a 1 ms budget per frame) until no search is left; the number of
  // frames it took, or -1 when searches remain after max_frames.
  static int cycleUntilIdle(int max_frames = 100000) {
    for (int frame = 1; frame <= max_frames; ++frame) {
      paths().cycle(1);
      if (paths().getSearchCount() == 0) return frame;
    }
    return -1;
  }

  // Runs one search to its end by calling cycleOnce directly; its last result.
  static int runToEnd(PathFind& search) {
    int r = 1;
    while (r == 1) r = search.cycleOnce();
    return r;
  }
};

// An object that records every path result it receives and then reacts as every object does.
class Walker : public Object {
 public:
  explicit Walker(Vector at, Solidness solid = HARD) {
    setType("Walker");
    setPosition(at);
    setSolidness(solid);
  }

  int eventHandler(const Event* event) override {
    if (const auto* path_event = dynamic_cast<const EventPath*>(event)) {
      statuses.push_back(path_event->getStatus());
      paths.push_back(path_event->getPath());
    }
    if (event->getType() == COLLISION_EVENT) ++collisions;
    return Object::eventHandler(event);
  }

  std::vector<int> statuses;
  std::vector<Path> paths;
  int collisions = 0;
};

inline Vector cell(int x, int y) { return Vector(static_cast<float>(x), static_cast<float>(y)); }

}  // namespace tx::test
