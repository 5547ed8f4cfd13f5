#include "world/Object.h"

#include "WorldFixture.h"
#include "core/EventStep.h"
#include "core/GameManager.h"
#include "display/InputManager.h"
#include "path/EventPath.h"

namespace tx::test {
namespace {

using ObjectTest = WorldTest;

// Lets a test start from a clean slate of modified flags.
class Clean : public Object {
 public:
  void clearModified() {
    for (int i = 0; i < ATTR_COUNT; ++i) setModified(static_cast<ObjectAttribute>(i), false);
  }
  int modifiedCount() const {
    int n = 0;
    for (int i = 0; i < ATTR_COUNT; ++i) n += isModified(static_cast<ObjectAttribute>(i)) ? 1 : 0;
    return n;
  }
};

TEST_F(ObjectTest, IdsCountFromOneAndNewObjectIsEntirelyModified) {
  Object* first = new Object;
  Object* second = new Object;
  EXPECT_EQ(first->getId(), 1);
  EXPECT_EQ(second->getId(), 2);
  EXPECT_EQ(first->getType(), "(Undefined)");
  for (int i = 0; i < ATTR_COUNT; ++i) {
    EXPECT_TRUE(first->isModified(static_cast<ObjectAttribute>(i))) << i;
  }
  EXPECT_EQ(first->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  EXPECT_EQ(first->getPosition(), Vector(1.0f, 1.0f));
  EXPECT_EQ(first->getAltitude(), 2);
  EXPECT_EQ(first->getSolidness(), HARD);
  EXPECT_EQ(first->getShape().getType(), UNDEFINED);
}

TEST_F(ObjectTest, SetIdMovesTheCounterPastIt) {
  Object* o = new Object;
  o->setId(41);
  EXPECT_EQ((new Object)->getId(), 42);
}

TEST_F(ObjectTest, AltitudeOutOfRangeIsRefusedAndSameValueSetsNoFlag) {
  Clean* o = new Clean;
  o->clearModified();
  EXPECT_EQ(o->setAltitude(5), -1);
  EXPECT_TRUE(logHas("Object::setAltitude(): Altitude 5 not in range [0,4].  Ignored."));
  EXPECT_EQ(o->setAltitude(-1), -1);
  EXPECT_EQ(o->setAltitude(2), 0);
  EXPECT_EQ(o->getAltitude(), 2);
  EXPECT_EQ(o->modifiedCount(), 0);
  EXPECT_EQ(o->setAltitude(4), 0);
  EXPECT_TRUE(o->isModified(ALTITUDE));
}

TEST_F(ObjectTest, SolidnessOtherThanTheThreeIsRefused) {
  Clean* o = new Clean;
  o->clearModified();
  EXPECT_EQ(o->setSolidness(static_cast<Solidness>(3)), -1);
  EXPECT_TRUE(logHas("Object::setSolidness(): Solidness 3 not one of HARD, SOFT or SPECTRAL."));
  EXPECT_EQ(o->setSolidness(static_cast<Solidness>(-1)), -1);
  EXPECT_EQ(o->getSolidness(), HARD);
  EXPECT_EQ(o->modifiedCount(), 0);
  EXPECT_EQ(o->setSolidness(SPECTRAL), 0);
  EXPECT_TRUE(o->isModified(SOLIDNESS));
  EXPECT_FALSE(holds(world().getSceneGraph().solidObjects(), o));
}

TEST_F(ObjectTest, VelocitySplitsIntoSpeedAndUnitDirection) {
  Object* o = new Object;
  o->setVelocity(Vector(3.0f, 4.0f));
  EXPECT_FLOAT_EQ(o->getSpeed(), 5.0f);
  EXPECT_FLOAT_EQ(o->getDirection().getX(), 0.6f);
  EXPECT_FLOAT_EQ(o->getDirection().getY(), 0.8f);
  EXPECT_EQ(o->predictPosition(), Vector(4.0f, 5.0f));
  o->setVelocity(Vector());
  EXPECT_EQ(o->getSpeed(), 0.0f);
  EXPECT_EQ(o->getDirection(), Vector());
  EXPECT_EQ(o->getVelocity(), Vector());
}

TEST_F(ObjectTest, AccelerateFromRestTakesTheAccelerationsDirection) {
  Clean* o = new Clean;
  o->clearModified();
  o->accelerate();
  EXPECT_EQ(o->modifiedCount(), 0);
  o->setAcceleration(Vector(0.0f, 0.5f));
  o->accelerate();
  EXPECT_FLOAT_EQ(o->getSpeed(), 0.5f);
  EXPECT_EQ(o->getDirection(), Vector(0.0f, 1.0f));
  EXPECT_TRUE(o->isModified(SPEED));
  EXPECT_TRUE(o->isModified(DIRECTION));
}

TEST_F(ObjectTest, MoveAlongPathSnapsWithinThreeQuartersOfAStep) {
  Object* o = new Object;
  o->setPosition(Vector(0.0f, 0.0f));
  o->setSpeed(4.0f);
  Path path;
  path.setNodes({Vector(3.0f, 0.0f), Vector(3.0f, 10.0f)});
  o->setPath(path);
  o->setFollowPath(true);
  o->moveAlongPath();
  EXPECT_EQ(o->getPosition(), Vector(3.0f, 0.0f));
  EXPECT_EQ(o->getPath().getIndex(), 1);
  EXPECT_EQ(o->getDirection(), Vector(0.0f, 1.0f));
  EXPECT_TRUE(o->getFollowPath());
}

TEST_F(ObjectTest, MoveAlongPathOnlyTurnsTowardAFarWaypoint) {
  Object* o = new Object;
  o->setPosition(Vector(0.0f, 0.0f));
  o->setSpeed(4.0f);
  Path path;
  path.setNodes({Vector(0.0f, 3.5f)});
  o->setPath(path);
  o->setFollowPath(true);
  o->setDirection(Vector(1.0f, 0.0f));
  o->moveAlongPath();
  EXPECT_EQ(o->getPosition(), Vector(0.0f, 0.0f));
  EXPECT_EQ(o->getDirection(), Vector(0.0f, 1.0f));
  EXPECT_EQ(o->getPath().getIndex(), 0);
}

TEST_F(ObjectTest, FollowingAimsAtTheWaypointAndStoppingKeepsTheDirection) {
  Object* o = new Object;
  Path path;
  path.setNodes({Vector(1.0f, 5.0f)});
  o->setPath(path);
  o->setDirection(Vector(1.0f, 0.0f));
  o->setFollowPath(false);
  EXPECT_EQ(o->getDirection(), Vector(1.0f, 0.0f));
  o->setFollowPath(true);
  EXPECT_EQ(o->getDirection(), Vector(0.0f, 1.0f));
}

TEST_F(ObjectTest, FinishedPathStopsTheObject) {
  Object* o = new Object;
  o->setVelocity(Vector(1.0f, 0.0f));
  Path path;
  path.setNodes({Vector(1.5f, 1.0f)});
  o->setPath(path);
  o->setFollowPath(true);
  o->moveAlongPath();
  EXPECT_EQ(o->getPosition(), Vector(1.5f, 1.0f));
  EXPECT_EQ(o->getDirection(), Vector());
  EXPECT_FALSE(o->getFollowPath());
}

TEST_F(ObjectTest, InterestGoesToTheManagerOfTheLabel) {
  Object* o = new Object;
  EXPECT_EQ(o->registerInterest(STEP_EVENT), 0);
  EXPECT_EQ(o->registerInterest(KEYBOARD_EVENT), 0);
  EXPECT_EQ(o->registerInterest("game-level"), 0);
  EXPECT_EQ(o->getEventCount(), 3);
  EXPECT_EQ(GameManager::getInstance().getEventName(0), STEP_EVENT);
  EXPECT_EQ(InputManager::getInstance().getEventName(0), KEYBOARD_EVENT);
  EXPECT_EQ(world().getEventName(0), "game-level");
  EventStep step(7);
  EXPECT_EQ(GameManager::getInstance().onEvent(&step), 1);
}

TEST_F(ObjectTest, RefusedLabelLeavesTheObjectsLabelsUnchanged) {
  Object* o = new Object;
  EXPECT_EQ(o->registerInterest(COLLISION_EVENT), -1);
  EXPECT_EQ(o->getEventCount(), 0);
  EXPECT_TRUE(logHas("WorldManager::isValid(): Event tx-collision handled automatically."));
}

TEST_F(ObjectTest, HundredAndFirstLabelIsRefused) {
  Object* o = new Object;
  for (int i = 0; i < MAX_OBJ_EVENTS; ++i) {
    ASSERT_EQ(o->registerInterest("label-" + std::to_string(i)), 0);
  }
  EXPECT_EQ(o->registerInterest("one-too-many"), -1);
  EXPECT_TRUE(logHas(
      "Object::registerInterest(): maximum (100) reached, cannot register for event "
      "'one-too-many'"));
  EXPECT_EQ(o->getEventCount(), 100);
}

TEST_F(ObjectTest, UnregisteringAnUnheldLabelIsRefused) {
  Object* o = new Object;
  EXPECT_EQ(o->unregisterInterest("never"), -1);
  EXPECT_TRUE(logHas("Object::unregisterInterest(): event 'never' not previously registered"));
  o->registerInterest("a");
  o->registerInterest("b");
  o->registerInterest("c");
  EXPECT_EQ(o->unregisterInterest("b"), 0);
  EXPECT_EQ(o->getEventCount(), 2);
  EXPECT_EQ(o->getEventName(1), "c");
}

TEST_F(ObjectTest, DestructionLeavesNoInterestBehind) {
  Object* o = new Object;
  Object* keeper = new Object;
  keeper->registerInterest("b");
  o->registerInterest("a");
  o->registerInterest("b");
  o->registerInterest(STEP_EVENT);
  world().markForDelete(o);
  world().update();
  EXPECT_EQ(world().getEventCount(), 1);
  EXPECT_EQ(world().getEventName(0), "b");
  EXPECT_EQ(world().getInterested(0).getCount(), 1);
  EXPECT_EQ(GameManager::getInstance().getEventCount(), 0);
  EXPECT_EQ(world().getAllObjects(true).getCount(), 1);
}

TEST_F(ObjectTest, PathEventThatIsNotAnEventPathIsReported) {
  Object* o = new Object;
  Event fake;
  fake.setType(PATH_EVENT);
  EXPECT_EQ(o->eventHandler(&fake), 0);
  EXPECT_TRUE(logHas("Object::eventHandler(): Error! Dynamic cast to EventPath failed."));
  Event other;
  other.setType("game-thing");
  EXPECT_EQ(o->eventHandler(&other), 0);
}

TEST_F(ObjectTest, FoundPathIsTakenAndFollowed) {
  Object* o = new Object;
  Path path;
  path.setNodes({Vector(1.0f, 5.0f)});
  EventPath found(2, path);
  EXPECT_EQ(o->eventHandler(&found), 1);
  EXPECT_TRUE(o->getFollowPath());
  EXPECT_EQ(o->getDirection(), Vector(0.0f, 1.0f));
  EventPath none(0);
  Object* p = new Object;
  EXPECT_EQ(p->eventHandler(&none), 1);
  EXPECT_FALSE(p->getFollowPath());
}

TEST_F(ObjectTest, UnknownSpriteIsRefusedAndTheBoxKept) {
  Object* o = new Object;
  EXPECT_EQ(o->setSprite("nope"), -1);
  EXPECT_TRUE(logHas("Object::setSprite(): Warning! Sprite 'nope' not found"));
  EXPECT_EQ(o->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
}

TEST_F(ObjectTest, SetAnimationTakesItsBoxOnlyWhenAsked) {
  Clean* o = new Clean;
  o->setBox(Box(Vector(), 4.0f, 4.0f));
  o->clearModified();
  o->setAnimation(Animation());
  EXPECT_TRUE(o->isModified(ANIMATION));
  EXPECT_FALSE(o->isModified(BOX));
  EXPECT_EQ(o->getBox(), Box(Vector(), 4.0f, 4.0f));
  o->setAnimation(Animation(), true);
  EXPECT_TRUE(o->isModified(BOX));
  EXPECT_EQ(o->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
}

TEST_F(ObjectTest, WorldBoxMovesTheCornerOnly) {
  Object* o = new Object;
  o->setPosition(Vector(10.0f, 10.0f));
  EXPECT_EQ(getWorldBox(o), Box(Vector(9.5f, 9.5f), 0.99f, 0.99f));
  EXPECT_EQ(getWorldBox(o, Vector(2.0f, 3.0f)), Box(Vector(1.5f, 2.5f), 0.99f, 0.99f));
}

TEST_F(ObjectTest, ObjectMadeBeforeTheWorldStartsStaysOutside) {
  world().shutDown();
  LogManager::getInstance().setLogLevel(2);
  Object* stray = new Object;
  EXPECT_TRUE(logHas("WorldManager::insertObject(): Warning! Not adding Object " +
                     std::to_string(stray->getId())));
  EXPECT_TRUE(logHas("                              because WorldManager not started."));
  stray->setBox(Box(Vector(), 2.0f, 2.0f));
  EXPECT_EQ(stray->getBox(), Box(Vector(), 2.0f, 2.0f));
  ASSERT_EQ(world().startUp(), 0);
  EXPECT_TRUE(world().getAllObjects(true).isEmpty());
  // Setters work on it without filing it anywhere.
  stray->setBox(Box(Vector(), 3.0f, 3.0f));
  EXPECT_TRUE(world().getAllObjects(true).isEmpty());
  stray->setType("Stray");
  EXPECT_TRUE(world().objectsOfType("Stray").isEmpty());
}

}  // namespace
}  // namespace tx::test
