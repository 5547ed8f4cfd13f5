#include "tolvex/world/WorldManager.h"

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

// Marked objects go at the end of the update pass, once each, with those their destructors mark;
// one deleted outright in between is forgotten. Shut-down deletes the rest, inactive ones too.
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

// A marked object still moves in its last pass (its out event shows it); an inactive one does
// not; acceleration from rest moves from the next pass.
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
  EXPECT_EQ(accelerating->getPosition(), Vector(1.0f, 1.0f));
  world().update();
  EXPECT_EQ(accelerating->getPosition(), Vector(1.0f, 2.0f));
}

// The view is centred on a point, clamped to the boundary. Without slack it is centred on the
// followed object at every move; with slack it stays while the object is inside the centred slack
// box and is dragged by the overshoot in whichever direction it leaves. Deleted, it is forgotten.
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
  const struct {
    const char* rule;
    Vector to, corner;
  } cases[] = {
      {"inside the slack the view stays", Vector(118, 55), Vector(60, 38)},
      {"10 beyond the left edge moves the view 10 left", Vector(70, 50), Vector(50, 38)},
      {"10 beyond the right edge moves it 10 right", Vector(130, 50), Vector(70, 38)},
      {"4 beyond the top edge moves it 4 up", Vector(100, 40), Vector(60, 34)},
      {"2 beyond the bottom edge moves it 2 down", Vector(100, 58), Vector(60, 40)},
  };
  for (const auto& c : cases) {
    o->setPosition(Vector(100.0f, 50.0f));
    ASSERT_EQ(world().setViewFollowing(o), 0);
    world().moveObject(o, c.to);
    EXPECT_EQ(world().getView().getCorner(), c.corner) << c.rule;
  }
  world().markForDelete(o);
  world().update();
  EXPECT_EQ(world().getViewFollowing(), nullptr);
}

// Moving into another object: both hear of it unless either is spectral; the move is refused
// between two HARD ones and into a SOFT one for a no-soft mover. Inactive objects are not met.
TEST_F(WorldManagerTest, CollisionEventsAndRefusalsFollowTheSolidnessPair) {
  const struct {
    Solidness mover;
    bool no_soft;
    Solidness other;
    bool moves, events;
  } cases[] = {
      {HARD, false, HARD, false, true},     {HARD, false, SOFT, true, true},
      {HARD, true, SOFT, false, true},      {SOFT, false, HARD, true, true},
      {SOFT, true, HARD, true, true},       {SOFT, false, SOFT, true, true},
      {SOFT, true, SOFT, false, true},      {SPECTRAL, false, HARD, true, false},
      {HARD, false, SPECTRAL, true, false},
  };
  float y = 0.0f;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mover << " no-soft " << c.no_soft << " into " << c.other);
    Probe* mover = new Probe(Vector(5.0f, y += 3.0f), c.mover);
    mover->setNoSoft(c.no_soft);
    Probe* other = new Probe(Vector(6.0f, y), c.other);
    (new Probe(Vector(6.0f, y)))->setActive(false);
    EXPECT_EQ(world().moveObject(mover, Vector(6.0f, y)), c.moves ? 0 : -1);
    EXPECT_EQ(mover->getPosition(), Vector(c.moves ? 6.0f : 5.0f, y));
    EXPECT_EQ(mover->met, c.events ? std::vector<Object*>{other} : std::vector<Object*>{});
    EXPECT_EQ(other->mover, c.events ? std::vector<Object*>{mover} : std::vector<Object*>{});
  }
}

}  // namespace
}  // namespace tx::test
