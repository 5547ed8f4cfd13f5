#include "world/Object.h"

#include "Probe.h"
#include "core/GameManager.h"
#include "display/InputManager.h"

namespace tx::test {
namespace {

using ObjectTest = WorldTest;

// Starts from a clean slate of modified flags.
class Clean : public Object {
 public:
  Clean() {
    for (int i = 0; i < ATTR_COUNT; ++i) setModified(static_cast<ObjectAttribute>(i), false);
  }
};

TEST_F(ObjectTest, IdsCountFromOneAndSetIdMovesTheCounterPastIt) {
  Object* first = new Object;
  EXPECT_EQ(first->getId(), 1);
  first->setId(41);
  EXPECT_EQ((new Object)->getId(), 42);
}

TEST_F(ObjectTest, RefusedValuesAreLoggedAndChangeNothing) {
  Clean* o = new Clean;
  EXPECT_EQ(o->setAltitude(5), -1);
  EXPECT_TRUE(logHas("Object::setAltitude(): Altitude 5 not in range [0,4].  Ignored."));
  EXPECT_EQ(o->setAltitude(-1), -1);
  EXPECT_EQ(o->setSolidness(static_cast<Solidness>(3)), -1);
  EXPECT_TRUE(logHas("Object::setSolidness(): Solidness 3 not one of HARD, SOFT or SPECTRAL."));
  EXPECT_EQ(o->setSolidness(static_cast<Solidness>(-1)), -1);
  EXPECT_EQ(o->setSprite("nope"), -1);
  EXPECT_TRUE(logHas("Object::setSprite(): Warning! Sprite 'nope' not found"));
  EXPECT_EQ(o->setAltitude(2), 0);  // the same value sets no flag
  EXPECT_FALSE(o->isModified());
  EXPECT_EQ(o->getSolidness(), HARD);
  EXPECT_EQ(o->setAltitude(4), 0);
  EXPECT_TRUE(o->isModified(ALTITUDE));
}

TEST_F(ObjectTest, VelocitySplitsIntoSpeedAndUnitDirectionAndAccelerationStartsFromRest) {
  Clean* o = new Clean;
  o->accelerate();
  EXPECT_FALSE(o->isModified());
  o->setAcceleration(Vector(0.0f, 0.5f));
  o->accelerate();
  EXPECT_FLOAT_EQ(o->getSpeed(), 0.5f);
  EXPECT_EQ(o->getDirection(), Vector(0.0f, 1.0f));
  EXPECT_TRUE(o->isModified(SPEED) && o->isModified(DIRECTION));
  o->setVelocity(Vector(3.0f, 4.0f));  // direction (0.6, 0.8): see the serialization tests
  EXPECT_FLOAT_EQ(o->getSpeed(), 5.0f);
  EXPECT_EQ(o->predictPosition(), Vector(4.0f, 5.0f));
  o->setVelocity(Vector());
  EXPECT_EQ(o->getDirection(), Vector());
}

// From (0,0) at speed 4: a waypoint within 3/4 of a step is snapped to and the next one aimed at;
// a farther one is only turned toward; the last one reached stops the object.
TEST_F(ObjectTest, MoveAlongPathSnapsTurnsAndStops) {
  const struct {
    std::vector<Vector> nodes;
    Vector at, direction;
    int index;
    bool follow;
  } cases[] = {
      {{Vector(3.0f, 0.0f), Vector(3.0f, 10.0f)}, Vector(3.0f, 0.0f), Vector(0.0f, 1.0f), 1, true},
      {{Vector(0.0f, 3.5f)}, Vector(0.0f, 0.0f), Vector(0.0f, 1.0f), 0, true},
      {{Vector(2.0f, 0.0f)}, Vector(2.0f, 0.0f), Vector(), 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nodes.size());
    Object* o = new Object;
    o->setPosition(Vector(0.0f, 0.0f));
    o->setSpeed(4.0f);
    o->setPath(pathOf(c.nodes));
    o->setFollowPath(true);
    o->setDirection(Vector(1.0f, 0.0f));
    o->moveAlongPath();
    EXPECT_EQ(o->getPosition(), c.at);
    EXPECT_EQ(o->getDirection(), c.direction);
    EXPECT_EQ(o->getPath().getIndex(), c.index);
    EXPECT_EQ(o->getFollowPath(), c.follow);
  }
}

TEST_F(ObjectTest, InterestGoesToTheManagerOfTheLabelUpToAHundredLabels) {
  (new Object)->registerInterest("game-level");
  Object* o = new Object;
  EXPECT_EQ(o->registerInterest(STEP_EVENT), 0);
  EXPECT_EQ(o->registerInterest(KEYBOARD_EVENT), 0);
  EXPECT_EQ(o->registerInterest("game-level"), 0);
  EXPECT_EQ(GameManager::getInstance().getEventName(0), STEP_EVENT);
  EXPECT_EQ(InputManager::getInstance().getEventName(0), KEYBOARD_EVENT);
  EXPECT_EQ(world().getInterested(0).getCount(), 2);
  EXPECT_EQ(o->registerInterest(COLLISION_EVENT), -1);
  EXPECT_TRUE(logHas("WorldManager::isValid(): Event tx-collision handled automatically."));
  EXPECT_EQ(o->unregisterInterest("never"), -1);
  EXPECT_TRUE(logHas("Object::unregisterInterest(): event 'never' not previously registered"));
  EXPECT_EQ(o->unregisterInterest(KEYBOARD_EVENT), 0);
  EXPECT_EQ(o->getEventName(1), "game-level");
  for (int i = 2; i < MAX_OBJ_EVENTS; ++i)
    ASSERT_EQ(o->registerInterest("label-" + std::to_string(i)), 0);
  EXPECT_EQ(o->registerInterest("one-too-many"), -1);
  EXPECT_TRUE(
      logHas("Object::registerInterest(): maximum (100) reached, cannot register for event "
             "'one-too-many'"));
  EXPECT_EQ(o->getEventCount(), 100);
  world().markForDelete(o);  // destruction unregisters every label, keeping others' interest
  world().update();
  EXPECT_EQ(world().getEventCount(), 1);
  EXPECT_EQ(world().getEventName(0), "game-level");
  EXPECT_EQ(world().getInterested(0).getCount(), 1);
  EXPECT_EQ(
      GameManager::getInstance().getEventCount() + InputManager::getInstance().getEventCount(), 0);
}

}  // namespace
}  // namespace tx::test
