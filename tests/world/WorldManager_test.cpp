#include "world/WorldManager.h"

#include <cstdio>

#include "WorldFixture.h"
#include "core/EventStep.h"
#include "display/ViewObject.h"
#include "world/EventOut.h"

namespace tx::test {
namespace {

using WorldManagerTest = WorldTest;

int destroyed = 0;

class Counted : public Object {
 public:
  ~Counted() override { ++destroyed; }
};

// Marks (or deletes outright) another object when destroyed.
class Taker : public Object {
 public:
  Taker(Object* init_other, bool init_delete_now) : other(init_other), delete_now(init_delete_now) {}
  ~Taker() override {
    if (delete_now) {
      delete other;
    } else {
      WorldManager::getInstance().markForDelete(other);
    }
  }
  Object* other;
  bool delete_now;
};

class Drawn : public Object {
 public:
  int draw() override {
    ++draws;
    return 0;
  }
  int draws = 0;
};

TEST_F(WorldManagerTest, StartingTwiceIsHarmless) {
  EXPECT_EQ(world().startUp(), 0);
  EXPECT_TRUE(logHas("WorldManager::startup(): already started."));
}

TEST_F(WorldManagerTest, RefusesLabelsItDoesNotRoute) {
  EXPECT_FALSE(world().isValid(KEYBOARD_EVENT));
  EXPECT_TRUE(logHas("WorldManager::isValid(): WorldManager does not handle tx-keyboard"));
  EXPECT_FALSE(world().isValid(STEP_EVENT));
  EXPECT_TRUE(logHas("WorldManager::isValid(): Event tx-step handled automatically."));
  EXPECT_FALSE(world().isValid(OUT_EVENT));
  EXPECT_TRUE(world().isValid(VIEW_EVENT));
  EXPECT_TRUE(world().isValid(PATH_EVENT));
  EXPECT_TRUE(world().isValid("game-anything"));
}

TEST_F(WorldManagerTest, MarkedThreeTimesIsDeletedOnce) {
  destroyed = 0;
  Counted* o = new Counted;
  EXPECT_EQ(world().markForDelete(o), 0);
  EXPECT_EQ(world().markForDelete(o), 0);
  EXPECT_EQ(world().markForDelete(o), 0);
  world().update();
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(world().getAllObjects(true).isEmpty());
  world().update();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(WorldManagerTest, MarkingNullIsAnError) {
  EXPECT_EQ(world().markForDelete(nullptr), -1);
  char line[128];
  std::snprintf(line, sizeof line,
                "WorldManager::markForDelete(): Error! unable to add Object %p to deletions list",
                static_cast<void*>(nullptr));
  EXPECT_TRUE(logHas(line));
}

TEST_F(WorldManagerTest, DestructorThatMarksAnotherDeletesBothInOnePass) {
  destroyed = 0;
  Counted* other = new Counted;
  world().markForDelete(new Taker(other, false));
  world().update();
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(world().getAllObjects(true).isEmpty());
}

TEST_F(WorldManagerTest, MarkedObjectDeletedOutrightIsNotDeletedAgain) {
  destroyed = 0;
  Counted* other = new Counted;
  Taker* taker = new Taker(other, true);
  world().markForDelete(taker);
  world().markForDelete(other);
  world().update();
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(world().getAllObjects(true).isEmpty());
  // Deleted outright between passes, after being marked.
  Counted* early = new Counted;
  world().markForDelete(early);
  delete early;
  world().update();
  EXPECT_EQ(destroyed, 2);
}

std::vector<std::string> heard;

class Listener : public Object {
 public:
  int eventHandler(const Event* event) override {
    heard.push_back(event->getType());
    return 1;
  }
};

TEST_F(WorldManagerTest, MarkedObjectStillMovesInItsLastPass) {
  heard.clear();
  world().setBoundary(Box(Vector(), 10.0f, 10.0f));
  Listener* o = new Listener;
  o->setPosition(Vector(5.0f, 5.0f));
  o->setVelocity(Vector(20.0f, 0.0f));
  world().markForDelete(o);
  world().update();
  // The out event shows the move happened before the deletion.
  EXPECT_EQ(heard, std::vector<std::string>{OUT_EVENT});
  EXPECT_TRUE(world().getAllObjects(true).isEmpty());
}

TEST_F(WorldManagerTest, AccelerationFromRestMovesFromTheNextPass) {
  Object* o = new Object;
  o->setPosition(Vector(5.0f, 5.0f));
  o->setAcceleration(Vector(0.0f, 1.0f));
  world().update();
  EXPECT_EQ(o->getPosition(), Vector(5.0f, 5.0f));
  world().update();
  EXPECT_EQ(o->getPosition(), Vector(5.0f, 6.0f));
}

TEST_F(WorldManagerTest, InactiveObjectsAreNotMovedButListedOnRequest) {
  Object* o = new Object;
  o->setVelocity(Vector(1.0f, 0.0f));
  o->setActive(false);
  world().update();
  EXPECT_EQ(o->getPosition(), Vector(1.0f, 1.0f));
  EXPECT_TRUE(world().getAllObjects().isEmpty());
  EXPECT_EQ(items(world().getAllObjects(true)), std::vector<Object*>{o});
}

// A step handler-less spawner: each move creates a new object, which must wait a step.
class Spawner : public Object {
 public:
  int setPosition(Vector p) override {
    child = new Object;
    child->setVelocity(Vector(1.0f, 0.0f));
    return Object::setPosition(p);
  }
  Object* child = nullptr;
};

TEST_F(WorldManagerTest, ObjectsMadeDuringThePassWaitForTheNextStep) {
  Spawner* s = new Spawner;
  s->setVelocity(Vector(0.0f, 1.0f));
  world().update();
  ASSERT_NE(s->child, nullptr);
  EXPECT_EQ(s->child->getPosition(), Vector(1.0f, 1.0f));
}

TEST_F(WorldManagerTest, ShutDownDeletesActiveAndInactive) {
  destroyed = 0;
  new Counted;
  (new Counted)->setActive(false);
  world().shutDown();
  EXPECT_EQ(destroyed, 2);
  ASSERT_EQ(world().startUp(), 0);
  EXPECT_TRUE(world().getAllObjects(true).isEmpty());
}

TEST_F(WorldManagerTest, ShutDownSurvivesDestructorsThatDeleteOthers) {
  destroyed = 0;
  // The taker comes first in the lists, so it deletes the other before the walk reaches it.
  Taker* taker = new Taker(nullptr, true);
  taker->other = new Counted;
  world().markForDelete(taker);  // left marked, never walked
  world().shutDown();
  EXPECT_EQ(destroyed, 1);
  ASSERT_EQ(world().startUp(), 0);
  world().update();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(WorldManagerTest, DrawSkipsObjectsOutsideTheView) {
  world().setView(Box(Vector(), 80.0f, 24.0f));
  Drawn* inside = new Drawn;
  Drawn* outside = new Drawn;
  outside->setPosition(Vector(100.0f, 5.0f));
  Drawn* hidden = new Drawn;
  hidden->setVisible(false);
  world().draw();
  EXPECT_EQ(inside->draws, 1);
  EXPECT_EQ(outside->draws, 0);
  EXPECT_EQ(hidden->draws, 0);
}

class Hud : public ViewObject {
 public:
  int draw() override {
    ++draws;
    return 0;
  }
  int draws = 0;
};

TEST_F(WorldManagerTest, ViewObjectsAreDrawnWhereverTheyAre) {
  world().setView(Box(Vector(), 80.0f, 24.0f));
  Hud* hud = new Hud;
  hud->setPosition(Vector(500.0f, 500.0f));
  world().draw();
  EXPECT_EQ(hud->draws, 1);
}

TEST_F(WorldManagerTest, ViewIsCentredAndClampedToTheBoundary) {
  world().setBoundary(Box(Vector(), 80.0f, 24.0f));
  world().setView(Box(Vector(), 80.0f, 24.0f));
  world().setViewPosition(Vector(70.0f, 20.0f));
  EXPECT_EQ(world().getView().getCorner(), Vector(0.0f, 0.0f));
  world().setBoundary(Box(Vector(), 80.0f, 100.0f));
  world().setViewPosition(Vector(40.0f, 50.0f));
  EXPECT_EQ(world().getView().getCorner(), Vector(0.0f, 38.0f));
  world().setViewPosition(Vector(40.0f, 95.0f));
  EXPECT_EQ(world().getView().getCorner(), Vector(0.0f, 76.0f));
  world().setViewPosition(Vector(-10.0f, -10.0f));
  EXPECT_EQ(world().getView().getCorner(), Vector(0.0f, 0.0f));
  EXPECT_EQ(world().getView().getHorizontal(), 80.0f);
}

TEST_F(WorldManagerTest, ViewFollowsBeyondTheSlack) {
  world().setBoundary(Box(Vector(), 80.0f, 100.0f));
  world().setView(Box(Vector(), 80.0f, 24.0f));
  world().setViewSlack(Vector(0.5f, 0.5f));
  Object* o = new Object;
  o->setSolidness(SPECTRAL);
  o->setPosition(Vector(40.0f, 12.0f));
  ASSERT_EQ(world().setViewFollowing(o), 0);
  EXPECT_EQ(world().getView().getCorner(), Vector(0.0f, 0.0f));
  // Inside the slack rows 6 .. 18: the view stays.
  world().moveObject(o, Vector(40.0f, 17.0f));
  EXPECT_EQ(world().getView().getCorner(), Vector(0.0f, 0.0f));
  // Row 20 overshoots by 2: the centre goes from 12 to 14.
  world().moveObject(o, Vector(40.0f, 20.0f));
  EXPECT_EQ(world().getView().getCorner(), Vector(0.0f, 2.0f));
}

TEST_F(WorldManagerTest, ZeroSlackCentresOnEveryMove) {
  world().setBoundary(Box(Vector(), 200.0f, 200.0f));
  world().setView(Box(Vector(), 80.0f, 24.0f));
  Object* o = new Object;
  ASSERT_EQ(world().setViewFollowing(o), 0);
  world().moveObject(o, Vector(100.0f, 100.0f));
  EXPECT_EQ(world().getView().getCorner(), Vector(60.0f, 88.0f));
}

TEST_F(WorldManagerTest, FollowingOnlyObjectsInTheWorldAndForgettingDeletedOnes) {
  world().shutDown();
  Object* stray = new Object;
  ASSERT_EQ(world().startUp(), 0);
  EXPECT_EQ(world().setViewFollowing(stray), -1);
  EXPECT_EQ(world().getViewFollowing(), nullptr);
  delete stray;
  Object* o = new Object;
  ASSERT_EQ(world().setViewFollowing(o), 0);
  world().markForDelete(o);
  world().update();
  EXPECT_EQ(world().getViewFollowing(), nullptr);
  EXPECT_EQ(world().setViewFollowing(nullptr), 0);
}

TEST_F(WorldManagerTest, SlackOutOfRangeIsReportedButStored) {
  world().setViewSlack(Vector(1.5f, 0.0f));
  EXPECT_TRUE(logHas("WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]"));
  EXPECT_EQ(world().getViewSlack(), Vector(1.5f, 0.0f));
}

}  // namespace
}  // namespace tx::test
