#include "tolvex/world/Object.h"

#include "Probe.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/display/InputManager.h"

namespace tx::test {
namespace {

using ObjectTest = WorldTest;

// Refused values are logged and change nothing; a setter given the current value marks nothing.
TEST_F(ObjectTest, RefusedValuesChangeNothing) {
  Object* o = new Object;
  o->serialize("");
  EXPECT_EQ(o->setAltitude(5) + o->setAltitude(-1), -2);
  EXPECT_EQ(o->setSolidness(static_cast<Solidness>(3)) + o->setSprite("nope"), -2);
  EXPECT_TRUE(logHas("Object::setAltitude(): Altitude 5 not in range [0,4].  Ignored."));
  EXPECT_TRUE(logHas("Object::setSolidness(): Solidness 3 not one of HARD, SOFT or SPECTRAL."));
  EXPECT_TRUE(logHas("Object::setSprite(): Warning! Sprite 'nope' not found"));
  EXPECT_EQ(o->setAltitude(2), 0);
  EXPECT_FALSE(o->isModified());
  EXPECT_EQ(o->getSolidness(), HARD);
}

// Ids count from 1 and past any id set, also from text; after the top one comes NO_ID, told once.
TEST_F(ObjectTest, IdsCountUpPastTheIdsSetAndThenRunOut) {
  Object* o = new Object;
  EXPECT_EQ(o->getId(), 1);
  o->setId(41);
  EXPECT_EQ(Object().getId(), 42);
  o->deserialize("id:2147483646,");
  EXPECT_EQ(Object().getId(), 2147483647);
  EXPECT_EQ(Object().getId(), NO_ID);
  EXPECT_EQ(Object().getId(), NO_ID);
  EXPECT_EQ(logCount("Object::Object(): Warning! every id has been handed out; new objects get "
                     "id 0."),
            1);
}

// Each label goes to its manager, up to a hundred; destruction unregisters them all, no one else's.
TEST_F(ObjectTest, InterestGoesToTheManagerOfTheLabelUpToAHundredLabels) {
  (new Object)->registerInterest("game-level");
  Object* o = new Object;
  EXPECT_EQ(o->registerInterest(STEP_EVENT) + o->registerInterest(KEYBOARD_EVENT), 0);
  EXPECT_EQ(GameManager::getInstance().getEventName(0), STEP_EVENT);
  EXPECT_EQ(InputManager::getInstance().getEventName(0), KEYBOARD_EVENT);
  EXPECT_EQ(o->registerInterest(COLLISION_EVENT) + o->unregisterInterest("never"), -2);
  for (int i = 2; i < MAX_OBJ_EVENTS; ++i) ASSERT_EQ(o->registerInterest(std::to_string(i)), 0);
  EXPECT_EQ(o->registerInterest("one-too-many"), -1);
  delete o;
  EXPECT_EQ(world().getEventCount(), 1);
  EXPECT_EQ(world().getInterested(0).getCount(), 1);
  EXPECT_EQ(
      GameManager::getInstance().getEventCount() + InputManager::getInstance().getEventCount(), 0);
}

}  // namespace
}  // namespace tx::test
