#pragma once

#include "Probe.h"
#include "tolvex/path/EventPath.h"
#include "tolvex/path/PathFind.h"
#include "tolvex/path/PathManager.h"

namespace tx::test {

inline Vector cell(int x, int y) { return Vector(static_cast<float>(x), static_cast<float>(y)); }

// The world fixture, 20 x 15, with the path manager started; it ends with the test's own process.
class PathTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    setWorld(20, 15);
    ASSERT_EQ(paths().startUp(), 0);
  }
  static void setWorld(int width, int height) {
    world().setBoundary(Box(Vector(), static_cast<float>(width), static_cast<float>(height)));
  }
  static PathManager& paths() { return PathManager::getInstance(); }
  static int runToEnd(PathFind& search) {  // Calls cycleOnce until the search ends; its result.
    for (;;)
      if (const int r = search.cycleOnce(); r != 1) return r;
  }
};

// Records the status of every path result it receives, then reacts as every object does.
struct Walker : Probe {
  using Probe::Probe;
  int eventHandler(const Event* event) override {
    if (const auto* path_event = dynamic_cast<const EventPath*>(event))
      statuses.push_back(path_event->getStatus());
    return Probe::eventHandler(event);
  }
  std::vector<int> statuses;
};

}  // namespace tx::test
