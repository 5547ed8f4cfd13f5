#include "tolvex/world/WorldManager.h"

#include <tuple>
#include <utility>

#include "Probe.h"
#include "tolvex/world/EventOut.h"

namespace tx::test {
namespace {

using WorldManagerTest = WorldTest;

int destroyed = 0;
std::vector<std::string> last_heard;

// Counts its destruction and keeps what it heard; marks (or deletes outright) another object.
struct Dying : Probe {
  explicit Dying(Object* init_other = nullptr, bool init_delete = false)
      : other(init_other), delete_other(init_delete) {}
  ~Dying() override {
    ++destroyed, last_heard = labels;
    if (delete_other) delete other;
    if (!delete_other && other) WorldManager::getInstance().markForDelete(other);
  }
  Object* other;
  bool delete_other;
};

// Marked objects, and those their destructors mark, go once; deleted ones are forgotten.
TEST_F(WorldManagerTest, DeferredDeletionDeletesEachObjectOnce) {
  Dying* o = new Dying;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(world().markForDelete(o), 0);
  world().markForDelete(new Dying(new Dying));
  Dying* other = new Dying;
  world().markForDelete(new Dying(other, true));
  world().markForDelete(other);
  Dying* early = new Dying;
  world().markForDelete(early);
  delete early;
  world().update();
  world().update();
  EXPECT_EQ(destroyed, 6);
  Dying* first = new Dying(nullptr, true);  // first in the lists: deletes the other before the walk
  first->other = new Dying;
  (new Dying)->setActive(false);
  world().shutDown();
  EXPECT_EQ(destroyed, 9);
  EXPECT_EQ(world().markForDelete(nullptr), -1);
}

// A marked object still moves in its last pass (its out event shows it); acceleration waits a pass.
TEST_F(WorldManagerTest, UpdatePassMovesActiveObjectsOnly) {
  world().setBoundary(Box(Vector(), 10.0f, 10.0f));
  Dying* marked = new Dying;
  marked->setVelocity(Vector(20.0f, 0.0f));
  world().markForDelete(marked);
  Object* sleeper = new Object;
  sleeper->setVelocity(Vector(1.0f, 0.0f));
  sleeper->setActive(false);
  Object* accelerating = new Object;
  accelerating->setAcceleration(Vector(0.0f, 1.0f));
  world().update();
  EXPECT_EQ(last_heard, std::vector<std::string>{OUT_EVENT});
  EXPECT_EQ(sleeper->getPosition(), Vector(1.0f, 1.0f));
  world().update();
  EXPECT_EQ(accelerating->getPosition(), Vector(1.0f, 2.0f));
}

// Leaving the boundary is reported once, however far the object goes, and again after it returns.
TEST_F(WorldManagerTest, LeavingTheBoundarySendsOneOutEvent) {
  world().setBoundary(Box(Vector(), 20.0f, 20.0f));
  Probe* o = new Probe(Vector(19.0f, 5.0f));
  for (const auto& [x, outs] :
       {std::pair{20.0f, 0}, {21.0f, 1}, {22.0f, 1}, {10.0f, 1}, {25.0f, 2}}) {
    EXPECT_EQ(world().moveObject(o, Vector(x, 5.0f)), 0);
    EXPECT_EQ(o->count(OUT_EVENT), outs) << x;
  }
}

// Moving by (0.6, 0.8) it slides silently along what blocks it, or stays when a post blocks that.
TEST_F(WorldManagerTest, AvoidingObjectSlidesAlongWhatBlocksIt) {
  // From where, the block's place and size, whether a post stands at (6, 10) too, where to.
  const std::tuple<Vector, Box, bool, Vector> cases[] = {
      {Vector(5, 10), Box(Vector(5, 10.5f), 10, 1), false, Vector(6, 10)},
      {Vector(5.9f, 5), Box(Vector(6.5f, 5), 1, 10), false, Vector(5.9f, 6)},
      {Vector(5, 10), Box(Vector(5, 10.5f), 10, 1), true, Vector(5, 10)}};
  for (const auto& [at, place, post, end] : cases) {
    world().shutDown();
    ASSERT_EQ(world().startUp(), 0);
    Probe* block = new Probe(place.getCorner());
    block->setBox(Box(Vector(), place.getHorizontal(), place.getVertical()));
    if (post) new Probe(Vector(6.0f, 10.0f));
    Probe* o = new Probe(at);
    o->setAvoidCollisions(true);
    o->setVelocity(Vector(0.6f, 0.8f));
    EXPECT_EQ(world().moveObject(o, o->predictPosition()), post ? -1 : 0);
    EXPECT_NEAR(distance(o->getPosition(), end), 0.0f, 1e-5f) << end.getX();
    EXPECT_TRUE(o->labels.empty() && block->labels.empty());
  }
}

// The view, clamped to the boundary, centres on the followed object; deleted, it is forgotten.
TEST_F(WorldManagerTest, ViewFollowsAnObjectLeavingTheSlackInEveryDirection) {
  world().setBoundary(Box(Vector(), 200.0f, 100.0f));
  world().setView(Box(Vector(), 80.0f, 24.0f));
  world().setViewPosition(Vector(190.0f, -10.0f));
  EXPECT_EQ(world().getView().getCorner(), Vector(120.0f, 0.0f));
  Object* o = new Object;
  ASSERT_EQ(world().setViewFollowing(o), 0);
  world().moveObject(o, Vector(100.0f, 50.0f));
  EXPECT_EQ(world().getView().getCorner(), Vector(60.0f, 38.0f));
  world().setViewSlack(Vector(0.5f, 0.5f));  // around (100, 50): columns 80 .. 120, rows 44 .. 56
  const std::tuple<const char*, Vector, Vector> cases[] = {
      {"inside the slack the view stays", Vector(118, 55), Vector(60, 38)},
      {"10 beyond the left edge moves the view 10 left", Vector(70, 50), Vector(50, 38)},
      {"10 beyond the right edge moves it 10 right", Vector(130, 50), Vector(70, 38)},
      {"4 beyond the top edge moves it 4 up", Vector(100, 40), Vector(60, 34)},
      {"2 beyond the bottom edge moves it 2 down", Vector(100, 58), Vector(60, 40)}};
  for (const auto& [rule, to, corner] : cases) {
    o->setPosition(Vector(100.0f, 50.0f));
    ASSERT_EQ(world().setViewFollowing(o), 0);
    world().moveObject(o, to);
    EXPECT_EQ(world().getView().getCorner(), corner) << rule;
  }
  world().markForDelete(o);
  world().update();
  EXPECT_EQ(world().getViewFollowing(), nullptr);
}

// The solidness pair decides whether the move is made and both hear; inactive ones are not met.
TEST_F(WorldManagerTest, CollisionEventsAndRefusalsFollowTheSolidnessPair) {
  const std::tuple<Solidness, bool, Solidness, bool, bool> cases[] = {
      // mover, no-soft, other; whether it moves and whether both hear of it
      {HARD, false, HARD, false, true},    {HARD, false, SOFT, true, true},
      {HARD, true, SOFT, false, true},     {SOFT, false, HARD, true, true},
      {SOFT, true, HARD, true, true},      {SOFT, false, SOFT, true, true},
      {SOFT, true, SOFT, false, true},     {SPECTRAL, false, HARD, true, false},
      {HARD, false, SPECTRAL, true, false}};
  float y = 0.0f;
  for (const auto& [solid, no_soft, other_solid, moves, events] : cases) {
    SCOPED_TRACE(testing::Message() << solid << " no-soft " << no_soft << " into " << other_solid);
    Probe* mover = new Probe(Vector(5.0f, y += 3.0f), solid);
    mover->setNoSoft(no_soft);
    Probe* other = new Probe(Vector(6.0f, y), other_solid);
    (new Probe(Vector(6.0f, y)))->setActive(false);
    EXPECT_EQ(world().moveObject(mover, Vector(6.0f, y)), moves ? 0 : -1);
    EXPECT_EQ(mover->getPosition(), Vector(moves ? 6.0f : 5.0f, y));
    EXPECT_EQ(mover->met, events ? std::vector<Object*>{other} : std::vector<Object*>{});
    EXPECT_EQ(other->mover, events ? std::vector<Object*>{mover} : std::vector<Object*>{});
  }

  Probe* mover = new Probe(Vector(5.0f, 40.0f), SOFT);
  const std::vector<Object*> crowd = {new Probe(Vector(6, 40)), new Probe(Vector(6.2f, 40)),
                                      new Probe(Vector(5.8f, 40), SOFT)};
  EXPECT_EQ(world().moveObject(mover, Vector(6.0f, 40.0f)), 0);
  EXPECT_EQ(mover->met, crowd) << "every one met hears of it, in the order of the lists";
}

// Destroys another object, or itself, when it hears of its first collision.
struct Destroyer : Probe {
  Destroyer(Vector at, Object* init_victim) : Probe(at), victim(init_victim) {}
  int eventHandler(const Event* event) override {
    Probe::eventHandler(event);
    if (event->getType() == COLLISION_EVENT) delete std::exchange(victim, nullptr);
    return 1;
  }
  Object* victim;
};

// A handler may destroy a partner not yet told, or the mover; the destroyed take no part after.
TEST_F(WorldManagerTest, ObjectsDestroyedByCollisionHandlersTakeNoFurtherPart) {
  auto* first = new Probe(Vector(5.5f, 5.0f));
  auto* second = new Probe(Vector(5.0f, 5.5f), SOFT);
  auto* mover = new Destroyer(Vector(2.0f, 2.0f), second);
  EXPECT_EQ(world().moveObject(mover, Vector(5.0f, 5.0f)), -1);  // first is HARD
  EXPECT_EQ(mover->met, std::vector<Object*>{first});

  auto* suicidal = new Destroyer(Vector(2.0f, 2.0f), nullptr);
  suicidal->victim = suicidal;
  suicidal->setVelocity(Vector(3.0f, 3.0f));
  auto* last = new Probe(Vector(9.0f, 9.0f), SPECTRAL);
  last->setVelocity(Vector(1.0f, 0.0f));
  world().update();
  EXPECT_EQ(first->met, std::vector<Object*>{mover});
  EXPECT_EQ(items(world().getAllObjects()), (std::vector<Object*>{first, mover, last}));
  EXPECT_EQ(last->getPosition(), Vector(10.0f, 9.0f));
}

}  // namespace
}  // namespace tx::test
