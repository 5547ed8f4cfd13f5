#pragma once

// The world tests' fixture (log and world manager started) and objects recording their events.
#include <algorithm>
#include <functional>

#include "TestSupport.h"
#include "tolvex/core/EventStep.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/world/EventCollision.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {

class WorldTest : public LoggedTest {
 protected:
  void SetUp() override {
    LoggedTest::SetUp();
    ASSERT_EQ(WorldManager::getInstance().startUp(), 0);
  }
  void TearDown() override {
    WorldManager::getInstance().shutDown();
    LoggedTest::TearDown();
  }
  static WorldManager& world() { return WorldManager::getInstance(); }
};

// Records the labels of the events it receives and, for collisions, the mover and the other one.
class Probe : public Object {
 public:
  explicit Probe(Vector at = Vector(1.0f, 1.0f), Solidness solid = HARD) {
    setPosition(at), setSolidness(solid);
  }
  int eventHandler(const Event* event) override {
    labels.push_back(event->getType());
    if (const auto* collision = dynamic_cast<const EventCollision*>(event)) {
      mover.push_back(collision->getObject1());
      met.push_back(collision->getObject1() == this ? collision->getObject2()
                                                    : collision->getObject1());
    }
    return Object::eventHandler(event);
  }
  int count(const std::string& label) const {
    return static_cast<int>(std::count(labels.begin(), labels.end(), label));
  }
  std::vector<std::string> labels;
  std::vector<Object*> mover, met;
};

// Counts its events and runs the test's action (if any) with each step's number, -1 for others.
class Listener : public Object {
 public:
  explicit Listener(std::function<void(int)> init_action = {}) : action(std::move(init_action)) {
    setSolidness(SPECTRAL);
  }
  int eventHandler(const Event* event) override {
    count++;
    const auto* step = dynamic_cast<const EventStep*>(event);
    if (action) action(step != nullptr ? step->getStepCount() : -1);
    return 1;
  }
  int count = 0;
  std::function<void(int)> action;
};

// A listener that registers for steps when made.
struct Stepper : Listener {
  explicit Stepper(std::function<void(int)> init_action = {}) : Listener(std::move(init_action)) {
    registerInterest(STEP_EVENT);
  }
};

inline std::vector<Object*> items(const ObjectList& list) {
  std::vector<Object*> out;
  for (ObjectListIterator it(&list); !it.isDone(); it.next()) out.push_back(it.currentObject());
  return out;
}

inline Path pathOf(std::vector<Vector> nodes) {
  Path path;
  path.setNodes(std::move(nodes));
  return path;
}

inline bool holds(const ObjectList& list, const Object* object) {
  const std::vector<Object*> all = items(list);
  return std::find(all.begin(), all.end(), object) != all.end();
}

}  // namespace tx::test
