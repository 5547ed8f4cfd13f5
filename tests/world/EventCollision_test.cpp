// Movement through the world manager: collision and out events and the solidness rules.
#include "world/EventCollision.h"

#include "WorldFixture.h"
#include "world/EventOut.h"

namespace tx::test {
namespace {

using MoveTest = WorldTest;

TEST_F(MoveTest, DefaultBoxesOneCellApartDoNotCollide) {
  Probe* a = new Probe(Vector(10.0f, 10.0f));
  Probe* b = new Probe(Vector(11.0f, 10.0f));
  EXPECT_TRUE(world().getCollisions(a, a->getPosition()).isEmpty());
  b->setPosition(Vector(10.5f, 10.0f));
  EXPECT_EQ(items(world().getCollisions(a, a->getPosition())), std::vector<Object*>{b});
}

TEST_F(MoveTest, CollisionQueryIgnoresSpectralInactiveAndSelf) {
  Probe* a = new Probe(Vector(10.0f, 10.0f));
  (new Probe(Vector(10.0f, 10.0f), SPECTRAL))->labels.clear();
  Probe* sleeper = new Probe(Vector(10.0f, 10.0f));
  sleeper->setActive(false);
  Probe* soft = new Probe(Vector(10.0f, 10.0f), SOFT);
  EXPECT_EQ(items(world().getCollisions(a, a->getPosition())), std::vector<Object*>{soft});
}

TEST_F(MoveTest, HardIntoHardIsRefusedAndBothHearIt) {
  Probe* mover = new Probe(Vector(5.0f, 5.0f));
  Probe* wall = new Probe(Vector(6.0f, 5.0f));
  EXPECT_EQ(world().moveObject(mover, Vector(6.0f, 5.0f)), -1);
  EXPECT_EQ(mover->getPosition(), Vector(5.0f, 5.0f));
  ASSERT_EQ(mover->count(COLLISION_EVENT), 1);
  ASSERT_EQ(wall->count(COLLISION_EVENT), 1);
  EXPECT_EQ(mover->mover[0], mover);
  EXPECT_EQ(wall->mover[0], mover);
  EXPECT_EQ(wall->met[0], mover);
}

TEST_F(MoveTest, HardIntoSoftMovesUnlessNoSoft) {
  Probe* mover = new Probe(Vector(5.0f, 5.0f));
  Probe* cloud = new Probe(Vector(6.0f, 5.0f), SOFT);
  EXPECT_EQ(world().moveObject(mover, Vector(6.0f, 5.0f)), 0);
  EXPECT_EQ(mover->getPosition(), Vector(6.0f, 5.0f));
  EXPECT_EQ(cloud->count(COLLISION_EVENT), 1);
  mover->setNoSoft(true);
  EXPECT_EQ(world().moveObject(mover, Vector(6.2f, 5.0f)), -1);
  EXPECT_EQ(mover->getPosition(), Vector(6.0f, 5.0f));
  EXPECT_EQ(cloud->count(COLLISION_EVENT), 2);
  EXPECT_EQ(mover->count(COLLISION_EVENT), 2);
}

TEST_F(MoveTest, SoftMovesIntoHardAndIntoSoftUnlessNoSoft) {
  Probe* mover = new Probe(Vector(5.0f, 5.0f), SOFT);
  Probe* wall = new Probe(Vector(6.0f, 5.0f));
  EXPECT_EQ(world().moveObject(mover, Vector(6.0f, 5.0f)), 0);
  EXPECT_EQ(wall->count(COLLISION_EVENT), 1);
  mover->setNoSoft(true);
  EXPECT_EQ(world().moveObject(mover, Vector(6.1f, 5.0f)), 0);
  Probe* cloud = new Probe(Vector(7.0f, 5.0f), SOFT);
  EXPECT_EQ(world().moveObject(mover, Vector(6.6f, 5.0f)), -1);
  EXPECT_EQ(cloud->count(COLLISION_EVENT), 1);
}

TEST_F(MoveTest, SpectralPassesThroughWithoutEvents) {
  Probe* ghost = new Probe(Vector(5.0f, 5.0f), SPECTRAL);
  Probe* wall = new Probe(Vector(6.0f, 5.0f));
  EXPECT_EQ(world().moveObject(ghost, Vector(6.0f, 5.0f)), 0);
  Probe* hard = new Probe(Vector(3.0f, 3.0f));
  EXPECT_EQ(world().moveObject(hard, Vector(6.0f, 5.5f)), -1);
  EXPECT_EQ(ghost->count(COLLISION_EVENT), 0);
  EXPECT_EQ(wall->count(COLLISION_EVENT), 1);
}

TEST_F(MoveTest, TwoHardObstaclesEachGetTheirEventInSolidOrder) {
  Probe* mover = new Probe(Vector(5.0f, 5.0f));
  Probe* first = new Probe(Vector(6.0f, 5.0f));
  Probe* second = new Probe(Vector(6.0f, 5.5f));
  EXPECT_EQ(world().moveObject(mover, Vector(6.0f, 5.2f)), -1);
  EXPECT_EQ(mover->met, (std::vector<Object*>{first, second}));
  EXPECT_EQ(first->count(COLLISION_EVENT), 1);
  EXPECT_EQ(second->count(COLLISION_EVENT), 1);
}

// Turns itself soft when hit: the rule reads solidness after the handlers ran.
class Yielding : public Probe {
 public:
  using Probe::Probe;
  int eventHandler(const Event* event) override {
    if (event->getType() == COLLISION_EVENT) setSolidness(SOFT);
    return Probe::eventHandler(event);
  }
};

TEST_F(MoveTest, SolidnessIsReadAfterTheHandlers) {
  Probe* mover = new Probe(Vector(5.0f, 5.0f));
  new Yielding(Vector(6.0f, 5.0f));
  EXPECT_EQ(world().moveObject(mover, Vector(6.0f, 5.0f)), 0);
}

TEST_F(MoveTest, LeavingTheBoundarySendsOneOutEvent) {
  world().setBoundary(Box(Vector(), 20.0f, 20.0f));
  Probe* o = new Probe(Vector(19.0f, 5.0f));
  EXPECT_EQ(world().moveObject(o, Vector(20.0f, 5.0f)), 0);
  EXPECT_EQ(o->count(OUT_EVENT), 0);  // still touching the edge
  EXPECT_EQ(world().moveObject(o, Vector(21.0f, 5.0f)), 0);
  EXPECT_EQ(o->count(OUT_EVENT), 1);
  EXPECT_EQ(world().moveObject(o, Vector(22.0f, 5.0f)), 0);
  EXPECT_EQ(world().moveObject(o, Vector(10.0f, 5.0f)), 0);
  EXPECT_EQ(o->count(OUT_EVENT), 1);
  EXPECT_EQ(o->labels.size(), 1u);
}

TEST_F(MoveTest, UpdatePassMovesByVelocityWithCollisions) {
  Probe* mover = new Probe(Vector(5.0f, 5.0f));
  Probe* wall = new Probe(Vector(7.0f, 5.0f));
  mover->setVelocity(Vector(1.0f, 0.0f));
  world().update();
  EXPECT_EQ(mover->getPosition(), Vector(6.0f, 5.0f));
  world().update();
  EXPECT_EQ(mover->getPosition(), Vector(6.0f, 5.0f));
  EXPECT_EQ(wall->count(COLLISION_EVENT), 1);
  EXPECT_EQ(mover->getSpeed(), 1.0f);
}

TEST_F(MoveTest, AvoidingObjectSlidesAlongTheTopOfABlock) {
  Probe* block = new Probe(Vector(10.0f, 11.0f));
  block->setBox(Box(Vector(-5.0f, -0.5f), 10.0f, 1.0f));
  Probe* o = new Probe(Vector(5.0f, 10.0f));
  o->setAvoidCollisions(true);
  o->setVelocity(Vector(0.6f, 0.8f));
  EXPECT_EQ(world().moveObject(o, o->predictPosition()), 0);
  EXPECT_FLOAT_EQ(o->getPosition().getX(), 6.0f);
  EXPECT_FLOAT_EQ(o->getPosition().getY(), 10.0f);
  EXPECT_EQ(block->count(COLLISION_EVENT), 0);
  EXPECT_FLOAT_EQ(o->getDirection().getX(), 0.6f);
  EXPECT_FLOAT_EQ(o->getSpeed(), 1.0f);
}

TEST_F(MoveTest, AvoidingObjectSlidesDownAWall) {
  Probe* wall = new Probe(Vector(7.0f, 10.0f));
  wall->setBox(Box(Vector(-0.5f, -5.0f), 1.0f, 10.0f));
  Probe* o = new Probe(Vector(5.9f, 5.0f));
  o->setAvoidCollisions(true);
  o->setVelocity(Vector(0.6f, 0.8f));
  EXPECT_EQ(world().moveObject(o, o->predictPosition()), 0);
  EXPECT_FLOAT_EQ(o->getPosition().getX(), 5.9f);
  EXPECT_FLOAT_EQ(o->getPosition().getY(), 6.0f);
}

TEST_F(MoveTest, BlockedSlideIsADoubleCollision) {
  LogManager::getInstance().setLogLevel(5);
  Probe* block = new Probe(Vector(10.0f, 11.0f));
  block->setBox(Box(Vector(-5.0f, -0.5f), 10.0f, 1.0f));
  Probe* post = new Probe(Vector(6.0f, 10.0f));
  Probe* o = new Probe(Vector(5.0f, 10.0f));
  o->setAvoidCollisions(true);
  o->setVelocity(Vector(0.6f, 0.8f));
  EXPECT_EQ(world().moveObject(o, o->predictPosition()), -1);
  EXPECT_TRUE(logHas(
      "WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move."));
  EXPECT_EQ(o->getPosition(), Vector(5.0f, 10.0f));
  EXPECT_TRUE(o->labels.empty());
  EXPECT_TRUE(block->labels.empty());
  EXPECT_TRUE(post->labels.empty());
}

TEST_F(MoveTest, NormalNamesTheSideOfContact) {
  Probe* block = new Probe(Vector(10.0f, 10.0f));
  Probe* above = new Probe(Vector(10.0f, 8.0f));
  above->setVelocity(Vector(0.0f, 2.0f));
  EXPECT_EQ(getNormal(above, block), Vector(0.0f, -1.0f));
  Probe* left = new Probe(Vector(8.0f, 10.0f));
  left->setVelocity(Vector(2.0f, 0.0f));
  EXPECT_EQ(getNormal(left, block), Vector(-1.0f, 0.0f));
  Probe* far = new Probe(Vector(30.0f, 30.0f));
  EXPECT_EQ(getNormal(far, block), Vector());
  EXPECT_TRUE(logHas("getNormal(): collision not detected. Returning (0,0)."));
}

TEST_F(MoveTest, EventsCarryTheirLabels) {
  EXPECT_EQ(EventCollision().getType(), COLLISION_EVENT);
  EXPECT_EQ(EventOut().getType(), OUT_EVENT);
  Object* a = new Object;
  Object* b = new Object;
  EventCollision c(a, b, Vector(2.0f, 3.0f));
  EXPECT_EQ(c.getObject1(), a);
  EXPECT_EQ(c.getObject2(), b);
  EXPECT_EQ(c.getPosition(), Vector(2.0f, 3.0f));
}

}  // namespace
}  // namespace tx::test
