#include "tolvex/world/WorldManager.h"

#include "Probe.h"

namespace tx::test {
namespace {

using RemovalWatchTest = WorldTest;

// Destroys another object, or itself, when it hears of its first collision.
class Destroyer : public Probe {
 public:
  explicit Destroyer(Vector at, Object* init_victim = nullptr) : Probe(at), victim(init_victim) {}
  int eventHandler(const Event* event) override {
    Probe::eventHandler(event);
    if (event->getType() != COLLISION_EVENT || done) return 1;
    done = true;
    if (victim == this) {
      delete this;
    } else {
      delete victim;
    }
    return 1;
  }
  Object* victim;
  bool done = false;
};

// A collision handler may destroy a partner still to be told, which then takes no part, or the
// mover, which ends the move: nothing touches the destroyed object afterwards.
TEST_F(RemovalWatchTest, ObjectsDestroyedByCollisionHandlersTakeNoFurtherPart) {
  auto* first = new Probe(Vector(5.5f, 5.0f));
  auto* second = new Probe(Vector(5.0f, 5.5f), SOFT);
  auto* mover = new Destroyer(Vector(2.0f, 2.0f), second);
  EXPECT_EQ(world().moveObject(mover, Vector(5.0f, 5.0f)), -1);  // first is HARD
  EXPECT_EQ(mover->met, std::vector<Object*>{first});
  EXPECT_EQ(first->met, std::vector<Object*>{mover});
  EXPECT_EQ(items(world().getAllObjects()), (std::vector<Object*>{first, mover}));

  // A mover that destroys itself on hearing of its first collision: the partner it met is not
  // told (the event would name a destroyed object), and the pass goes on.
  auto* suicidal = new Destroyer(Vector(2.0f, 2.0f));
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
