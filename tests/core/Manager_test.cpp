#include "core/Manager.h"

#include "CoreTest.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

class ManagerTest : public LoggedTest {
 protected:
  void SetUp() override {
    LoggedTest::SetUp();
    ASSERT_EQ(WorldManager::getInstance().startUp(), 0);
    LogManager::getInstance().setLogLevel(1);
  }
  void TearDown() override {
    WorldManager::getInstance().shutDown();
    LoggedTest::TearDown();
  }
  Manager& world = WorldManager::getInstance();
  GameManager& game = GameManager::getInstance();
};

// A hundred labels fit and the next is refused silently; an emptied slot closes the gap, a
// slot with objects left stays; unknown labels or objects fail to unregister.
TEST_F(ManagerTest, InterestTableSlots) {
  Listener a, b;
  for (int i = 0; i < MAX_EVENTS; ++i)
    ASSERT_EQ(world.registerInterest(&a, "label-" + std::to_string(i)), 0);
  const std::size_t lines_before = logMessages().size();
  EXPECT_EQ(world.registerInterest(&a, "label-100"), -1);
  EXPECT_EQ(logMessages().size(), lines_before);
  EXPECT_EQ(world.registerInterest(&b, "label-50"), 0);
  EXPECT_EQ(world.getInterested(50).getCount(), 2);
  for (int i = 0; i < MAX_EVENTS; ++i) world.unregisterInterest(&a, "label-" + std::to_string(i));
  ASSERT_EQ(world.getEventCount(), 1);
  world.registerInterest(&a, "two");
  world.registerInterest(&b, "three");
  EXPECT_EQ(world.unregisterInterest(&a, "Two") + world.unregisterInterest(&b, "two"), -2);
  EXPECT_EQ(world.unregisterInterest(&b, "label-50"), 0);
  EXPECT_EQ(world.getEventName(0) + "," + world.getEventName(1), "two,three");
}

// Active objects get the event once per entry, over a copy of the list taken before the walk;
// refused interests and events reach nobody.
TEST_F(ManagerTest, DispatchWalksACopyWhileHandlersChangeInterests) {
  Listener first, inactive, later, added;
  first.action = [&](int) {
    game.unregisterInterest(&later, STEP_EVENT);
    game.registerInterest(&added, STEP_EVENT);
  };
  EXPECT_EQ(game.registerInterest(&first, KEYBOARD_EVENT), -1);
  EXPECT_EQ(game.registerInterest(nullptr, STEP_EVENT), -1);
  for (Listener* l : {&first, &inactive, &later, &later}) game.registerInterest(l, STEP_EVENT);
  ASSERT_EQ(inactive.setActive(false), 0);
  const EventStep step(3);
  EXPECT_EQ(game.onEvent(&step), 3);
  EXPECT_EQ(later.count, 2);  // one entry unregistered mid-walk, still in the copy
  EXPECT_EQ(added.count, 0);  // registered mid-walk, not in the copy
  first.action = nullptr;
  EXPECT_EQ(game.onEvent(&step), 3);
  EXPECT_EQ(later.count, 3);
  EXPECT_EQ(added.count, 1);
  const Event undefined;
  Event keyboard;
  keyboard.setType(KEYBOARD_EVENT);
  EXPECT_EQ(game.onEvent(&undefined) + game.onEvent(&keyboard), 0);
  EXPECT_EQ(inactive.count, 0);
  for (const char* line :
       {"Manager(GameManager)::registerInterest(): Event 'tx-keyboard' not valid for this Manager",
        "Manager(GameManager)::onEvent(): Warning! Event type tx-undefined is undefined.",
        "Manager(GameManager)::onEvent(): Error! Event type tx-keyboard not valid."})
    EXPECT_TRUE(logHas(line)) << line;
}

}  // namespace
}  // namespace tx::test
