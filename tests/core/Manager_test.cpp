#include "tolvex/core/Manager.h"

#include "Probe.h"
#include "tolvex/core/GameManager.h"

namespace tx::test {
namespace {

using ManagerTest = WorldTest;

// An emptied slot closes the gap; a slot with objects left stays.
TEST_F(ManagerTest, InterestTableSlots) {
  Listener a, b;
  for (int i = 0; i < MAX_EVENTS; ++i) world().registerInterest(&a, "label-" + std::to_string(i));
  EXPECT_EQ(world().registerInterest(&a, "label-100"), -1);
  EXPECT_EQ(logMessages().back(),
            "Manager(WorldManager)::registerInterest(): Error! maximum (100) labels reached, "
            "cannot register for event 'label-100'");
  EXPECT_EQ(world().registerInterest(&b, "label-50"), 0);
  for (int i = 0; i < MAX_EVENTS; ++i) world().unregisterInterest(&a, "label-" + std::to_string(i));
  world().registerInterest(&a, "two");
  EXPECT_EQ(world().unregisterInterest(&a, "Two") + world().unregisterInterest(&b, "two"), -2);
  EXPECT_EQ(world().getEventName(0) + "," + world().getEventName(1), "label-50,two");
}

// Active objects get the event once per entry; refused interests and events reach nobody.
TEST_F(ManagerTest, DispatchWalksACopyWhileHandlersChangeInterests) {
  LogManager::getInstance().setLogLevel(1);  // for the refused event's line
  GameManager& game = GameManager::getInstance();
  Listener first, inactive, later, added;
  first.action = [&](int) {
    game.unregisterInterest(&later, STEP_EVENT);
    game.registerInterest(&added, STEP_EVENT);
  };
  EXPECT_EQ(game.registerInterest(&first, KEYBOARD_EVENT) + game.registerInterest(nullptr, "x"),
            -2);
  for (Listener* l : {&first, &inactive, &later, &later}) game.registerInterest(l, STEP_EVENT);
  ASSERT_EQ(inactive.setActive(false), 0);
  const EventStep step(3);
  EXPECT_EQ(game.onEvent(&step), 3);
  // Both entries are in the copy, the one added mid-walk is not.
  EXPECT_EQ(std::pair(later.count, added.count), std::pair(2, 0));
  first.action = nullptr;
  EXPECT_EQ(game.onEvent(&step), 3);
  EXPECT_EQ(std::pair(later.count, added.count), std::pair(3, 1));
  Event keyboard;
  keyboard.setType(KEYBOARD_EVENT);
  EXPECT_EQ(game.onEvent(&keyboard), 0);
  EXPECT_EQ(inactive.count, 0);
  EXPECT_TRUE(logHas("Manager(GameManager)::onEvent(): Error! Event type tx-keyboard not valid."));
}

TEST_F(ManagerTest, ObjectDestroyedByAnEarlierHandlerIsSkipped) {
  Stepper* doomed = nullptr;
  Stepper first([&](int) { delete doomed; });
  doomed = new Stepper;
  const EventStep step(1);
  EXPECT_EQ(GameManager::getInstance().onEvent(&step), 1);
}

}  // namespace
}  // namespace tx::test
