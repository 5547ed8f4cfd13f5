#include "core/Manager.h"

#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/EventStep.h"
#include "core/GameManager.h"
#include "core/LogManager.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace tx {
namespace {

// Counts the events it receives and runs an optional action from inside its handler.
class Listener : public Object {
 public:
  int eventHandler(const Event* event) override {
    labels.push_back(event->getType());
    if (on_event) on_event();
    return 1;
  }
  std::vector<std::string> labels;
  std::function<void()> on_event;
};

class ManagerTest : public test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(LogManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    ASSERT_EQ(WorldManager::getInstance().startUp(), 0);
  }
  void TearDown() override {
    LogManager::getInstance().shutDown();
    EngineTest::TearDown();
  }

  static std::vector<std::string> labelsOf(const Manager& manager) {
    std::vector<std::string> labels;
    for (int i = 0; i < manager.getEventCount(); ++i) labels.push_back(manager.getEventName(i));
    return labels;
  }

  Manager& world = WorldManager::getInstance();
  Manager& game = GameManager::getInstance();
};

TEST_F(ManagerTest, HundredLabelsFitAndTheNextIsRefusedSilently) {
  Listener first, second;
  for (int i = 0; i < MAX_EVENTS; ++i)
    ASSERT_EQ(world.registerInterest(&first, "label-" + std::to_string(i)), 0);
  const std::size_t lines_before = logMessages().size();
  EXPECT_EQ(world.registerInterest(&first, "label-100"), -1);
  EXPECT_EQ(logMessages().size(), lines_before);
  EXPECT_EQ(world.getEventCount(), MAX_EVENTS);
  EXPECT_EQ(world.registerInterest(&second, "label-50"), 0);
  EXPECT_EQ(world.getInterested(50).getCount(), 2);
}

TEST_F(ManagerTest, EmptiedSlotClosesTheGap) {
  Listener a, b, c;
  world.registerInterest(&a, "one");
  world.registerInterest(&b, "two");
  world.registerInterest(&c, "three");
  EXPECT_EQ(world.unregisterInterest(&a, "one"), 0);
  EXPECT_EQ(labelsOf(world), (std::vector<std::string>{"two", "three"}));
  Event three;
  three.setType("three");
  EXPECT_EQ(world.onEvent(&three), 1);
  EXPECT_EQ(c.labels, std::vector<std::string>{"three"});
}

TEST_F(ManagerTest, SlotWithObjectsLeftStays) {
  Listener a, b;
  world.registerInterest(&a, "one");
  world.registerInterest(&b, "one");
  world.registerInterest(&a, "two");
  EXPECT_EQ(world.unregisterInterest(&a, "one"), 0);
  EXPECT_EQ(labelsOf(world), (std::vector<std::string>{"one", "two"}));
}

TEST_F(ManagerTest, UnregisterOfUnknownLabelOrObjectFails) {
  Listener a, b;
  world.registerInterest(&a, "one");
  EXPECT_EQ(world.unregisterInterest(&a, "One"), -1);
  EXPECT_EQ(world.unregisterInterest(&b, "one"), -1);
  EXPECT_EQ(world.getEventCount(), 1);
}

TEST_F(ManagerTest, RefusedLabelIsReported) {
  Listener a;
  EXPECT_EQ(game.registerInterest(&a, KEYBOARD_EVENT), -1);
  EXPECT_TRUE(logHas(
      "Manager(GameManager)::registerInterest(): Event 'tx-keyboard' not valid for this Manager"));
  EXPECT_EQ(game.getEventCount(), 0);
}

TEST_F(ManagerTest, NullObjectDoesNotTakeASlot) {
  EXPECT_EQ(game.registerInterest(nullptr, STEP_EVENT), -1);
  EXPECT_EQ(game.getEventCount(), 0);
}

TEST_F(ManagerTest, DispatchCallsActiveObjectsOncePerEntry) {
  Listener twice, inactive, once;
  game.registerInterest(&twice, STEP_EVENT);
  game.registerInterest(&inactive, STEP_EVENT);
  game.registerInterest(&twice, STEP_EVENT);
  game.registerInterest(&once, STEP_EVENT);
  ASSERT_EQ(inactive.setActive(false), 0);
  const EventStep step(3);
  EXPECT_EQ(game.onEvent(&step), 3);
  EXPECT_EQ(twice.labels.size(), 2u);
  EXPECT_TRUE(inactive.labels.empty());
  EXPECT_EQ(once.labels.size(), 1u);
}

TEST_F(ManagerTest, DispatchWalksACopyWhileHandlersChangeInterests) {
  Listener first, later, added;
  first.on_event = [&] {
    game.unregisterInterest(&later, STEP_EVENT);
    game.registerInterest(&added, STEP_EVENT);
  };
  game.registerInterest(&first, STEP_EVENT);
  game.registerInterest(&later, STEP_EVENT);
  const EventStep step;
  EXPECT_EQ(game.onEvent(&step), 2);
  EXPECT_EQ(later.labels.size(), 1u);  // unregistered mid-walk, still in the copy
  EXPECT_TRUE(added.labels.empty());   // registered mid-walk, not in the copy
  first.on_event = nullptr;
  EXPECT_EQ(game.onEvent(&step), 2);
  EXPECT_EQ(later.labels.size(), 1u);
  EXPECT_EQ(added.labels.size(), 1u);
}

TEST_F(ManagerTest, UndefinedAndRefusedEventsReachNobody) {
  LogManager::getInstance().setLogLevel(1);
  Listener a;
  game.registerInterest(&a, STEP_EVENT);
  const Event undefined;
  EXPECT_EQ(game.onEvent(&undefined), 0);
  Event keyboard;
  keyboard.setType(KEYBOARD_EVENT);
  EXPECT_EQ(game.onEvent(&keyboard), 0);
  EXPECT_TRUE(a.labels.empty());
  EXPECT_TRUE(
      logHas("Manager(GameManager)::onEvent(): Warning! Event type tx-undefined is undefined."));
  EXPECT_TRUE(logHas("Manager(GameManager)::onEvent(): Error! Event type tx-keyboard not valid."));
}

TEST_F(ManagerTest, StartTwiceAndStopUnstartedWarn) {
  LogManager::getInstance().setLogLevel(1);
  Manager plain;
  EXPECT_FALSE(plain.isStarted());
  plain.shutDown();
  EXPECT_TRUE(logHas("Manager::shutDown(): Warning! Manager not started."));
  EXPECT_EQ(plain.startUp(), 0);
  EXPECT_EQ(plain.startUp(), 0);
  EXPECT_TRUE(logHas("Manager::startUp(): Warning! Manager already started."));
  EXPECT_TRUE(plain.isStarted());
  plain.shutDown();
  EXPECT_FALSE(plain.isStarted());
}

}  // namespace
}  // namespace tx
