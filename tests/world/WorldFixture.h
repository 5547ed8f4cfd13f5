#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/Event.h"
#include "core/LogManager.h"
#include "core/ObjectList.h"
#include "core/ObjectListIterator.h"
#include "world/EventCollision.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace tx::test {

// Starts the log (flushed, so lines can be read back at once) and the world manager.
class WorldTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(LogManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    ASSERT_EQ(WorldManager::getInstance().startUp(), 0);
  }

  void TearDown() override {
    WorldManager::getInstance().shutDown();
    LogManager::getInstance().shutDown();
    EngineTest::TearDown();
  }

  static WorldManager& world() { return WorldManager::getInstance(); }
};

// An object that records the labels of the events it receives and, for collisions, the other
// object and whether it was the mover.
class Probe : public Object {
 public:
  explicit Probe(Vector at = Vector(1.0f, 1.0f), Solidness solid = HARD) {
    setPosition(at);
    setSolidness(solid);
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
    int n = 0;
    for (const std::string& l : labels) n += l == label ? 1 : 0;
    return n;
  }

  std::vector<std::string> labels;
  std::vector<Object*> mover;
  std::vector<Object*> met;
};

inline bool holds(const ObjectList& list, const Object* object) {
  for (ObjectListIterator it(&list); !it.isDone(); it.next()) {
    if (it.currentObject() == object) return true;
  }
  return false;
}

inline std::vector<Object*> items(const ObjectList& list) {
  std::vector<Object*> out;
  for (ObjectListIterator it(&list); !it.isDone(); it.next()) out.push_back(it.currentObject());
  return out;
}

}  // namespace tx::test
