#include "tolvex/world/SpatialGrid.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Probe.h"
#include "tolvex/core/Config.h"
#include "tolvex/display/Animation.h"
#include "tolvex/world/EventCollision.h"
#include "tolvex/world/EventOut.h"
#include "tolvex/world/SceneGraph.h"

namespace tx::test {
namespace {

// One random world played out from a seed: objects moving, colliding, changing solidness,
// activity, box and place, created and destroyed (also from inside collision handlers), the
// boundary growing and shrinking. Everything observable goes into the trace: every collision
// list asked for, every event with its objects and position, every move's result.
class RandomWorld {
 public:
  explicit RandomWorld(unsigned seed) : rng(seed) {}

  std::vector<std::string> play(int steps) {
    for (int i = 0; i < 70; ++i) new Actor(*this);
    for (int step = 0; step < steps; ++step) {
      act();
      probe();
    }
    return trace;
  }

 private:
  // Tags count from 0 in each run, so that two runs of one seed name objects alike.
  class Actor : public Object {
   public:
    explicit Actor(RandomWorld& init_world) : world(init_world), tag(world.next_tag++) {
      setPosition(world.position());
      setBox(world.box());
      setSolidness(world.solidness());
      setVelocity(world.velocity());
    }
    int eventHandler(const Event* event) override {
      if (const auto* c = dynamic_cast<const EventCollision*>(event)) {
        world.note("collision", tag, tagOf(c->getObject1()), tagOf(c->getObject2()),
                   c->getPosition());
        world.react(this, c->getObject1() == this ? c->getObject2() : c->getObject1());
      } else if (event->getType() == OUT_EVENT) {
        world.note("out", tag, -1, -1, Vector());
        // Back towards the world, so that it stays crowded.
        setVelocity(Vector() - getVelocity());
      }
      return 1;
    }
    RandomWorld& world;
    int tag;
  };

  static int tagOf(const Object* o) { return static_cast<const Actor*>(o)->tag; }

  int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
  float uniform(float low, float high) {
    return low + (high - low) * static_cast<float>(rng() % 100001) / 100000.0f;
  }
  // Mostly inside the world, on quarter cells so that edges meet exactly; now and then on a
  // bucket's edge, outside, huge, infinite or not a number.
  float coordinate() {
    const int kind = pick(24);
    if (kind == 0) return std::numeric_limits<float>::quiet_NaN();
    if (kind == 1) return pick(2) ? std::numeric_limits<float>::infinity() : -1e30f;
    if (kind == 2) return pick(2) ? 1e9f : -1e9f;
    if (kind == 3) return static_cast<float>(8 * pick(10));
    if (kind == 4) return -uniform(0.0f, 30.0f);
    return quarter(-1.0f, 25.0f);
  }
  float quarter(float low, float high) { return std::round(uniform(low, high) * 4.0f) / 4.0f; }
  Vector position() { return Vector(coordinate(), coordinate()); }
  Vector nearby() { return Vector(quarter(0.0f, 24.0f), quarter(0.0f, 24.0f)); }
  // Ordinary, bucket-sized, larger than the world, empty, backwards, or reaching without end.
  Box box() {
    const Box kinds[] = {
        Box(Vector(), 20.0f, 8.0f),  // A bucket's size.
        Box(Vector(-60.0f, -60.0f), 120.0f, 120.0f),
        Box(Vector(), 0.0f, 0.0f),
        Box(Vector(0.5f, 0.0f), -3.0f, 2.0f),
        Box(Vector(-0.5f, -0.5f), 1.0f, 1.0f),
        Box(Vector(-1.0f, -0.5f), 6.5f, 2.0f),
        Box(Vector(-0.5f, -0.5f), std::numeric_limits<float>::infinity(), 1.0f),
        Box(Vector(-0.5f, -0.5f), 1.0f, std::numeric_limits<float>::quiet_NaN()),
    };
    const int kind = pick(14);
    return kind < 8 ? kinds[kind] : Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  }
  Solidness solidness() { return static_cast<Solidness>(pick(5) % 3); }
  Vector velocity() {
    if (pick(20) == 0) return Vector(uniform(-60.0f, 60.0f), uniform(-60.0f, 60.0f));
    return Vector(uniform(-0.5f, 0.5f), uniform(-0.5f, 0.5f));
  }

  Object* anyObject() {
    const std::vector<Object*> all = items(WorldManager::getInstance().getAllObjects(true));
    return all.empty() ? nullptr
                       : all[static_cast<std::size_t>(pick(static_cast<int>(all.size())))];
  }

  // What a collision handler may do: mark or destroy either object or any other, change its own
  // solidness, make a new object.
  void react(Object* self, Object* other) {
    WorldManager& world = WorldManager::getInstance();
    const int reaction = pick(150);  // Most collisions pass without one.
    if (reaction == 0) world.markForDelete(other);
    if (reaction == 1) delete other;
    if (reaction == 2) self->setSolidness(pick(2) ? HARD : SOFT);
    if (reaction == 3) new Actor(*this);
    if (reaction == 4) world.markForDelete(self);
    if (reaction == 5) delete self;
    Object* bystander = reaction == 6 ? anyObject() : nullptr;
    if (bystander != self) delete bystander;
  }

  void act() {
    WorldManager& world = WorldManager::getInstance();
    // Objects that wandered off come back, so that the world stays crowded.
    if (Object* o = anyObject(); o != nullptr && pick(2) == 0) o->setPosition(nearby());
    if (pick(3) > 0) {
      world.update();
      return;
    }
    Object* o = anyObject();
    if (world.getAllObjects(true).getCount() < 70) {
      new Actor(*this);
      return;
    }
    focus = o->getPosition();
    const int change = pick(14);
    if (change == 0) move(o);
    if (change == 1) o->setSolidness(solidness());
    if (change == 2) o->setActive(!o->isActive());
    if (change == 3) o->setBox(box());
    if (change == 4) o->setPosition(position());
    if (change == 5) o->setVelocity(velocity());
    if (change == 6) new Actor(*this);
    if (change == 7) world.markForDelete(o);
    if (change == 8) delete o;
    if (change == 9) world.setBoundary(Box(Vector(), uniform(5.0f, 60.0f), uniform(5.0f, 40.0f)));
    if (change == 10) o->setAvoidCollisions(!o->getAvoidCollisions());
    if (change == 11) o->setNoSoft(!o->getNoSoft());
    if (change == 12) o->setAnimation(Animation(), true);  // Takes the box of no sprite.
    if (change == 13) world.update();
  }

  // The mover may not survive its move.
  void move(Object* o) {
    const int tag = tagOf(o);
    const Vector where = position();
    note("move", tag, WorldManager::getInstance().moveObject(o, where), -1, where);
  }

  // Three collision queries after every step, from a random object: at a random place, where
  // it stands, and close to where the last object changed stood.
  void probe() {
    for (int i = 0; i < 3; ++i) {
      Object* o = anyObject();
      if (o == nullptr) return;
      const Vector near_focus = focus + Vector(quarter(-1.0f, 1.0f), quarter(-1.0f, 1.0f));
      const Vector where = i == 0 ? position() : i == 1 ? o->getPosition() : near_focus;
      std::ostringstream list;
      for (Object* hit : items(WorldManager::getInstance().getCollisions(o, where)))
        list << tagOf(hit) << ' ';
      trace.push_back("query " + std::to_string(tagOf(o)) + " " + bits(where) + ": " + list.str());
    }
  }

  void note(const char* what, int a, int b, int c, Vector where) {
    trace.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b) + " " +
                    std::to_string(c) + " " + bits(where));
  }
  // Floats compared bit for bit, so that NaN positions compare too.
  static std::string bits(Vector v) {
    float xy[2] = {v.getX(), v.getY()};
    std::uint32_t raw[2];
    std::memcpy(raw, xy, sizeof raw);
    return std::to_string(raw[0]) + "," + std::to_string(raw[1]);
  }

  std::mt19937 rng;
  int next_tag = 0;
  Vector focus;
  std::vector<std::string> trace;
};

class SpatialGridTest : public WorldTest {
 protected:
  // A fresh world with the grid set as given (0 x 0: the plain walk), played out from seed.
  std::vector<std::string> play(unsigned seed, int bucket_width, int bucket_height, int steps) {
    world().shutDown();
    EXPECT_EQ(world().startUp(), 0);
    world().setBoundary(Box(Vector(), 24.0f, 24.0f));
    world().getSceneGraph().setGrid(bucket_width, bucket_height);
    return RandomWorld(seed).play(steps);
  }
  // Index of the first entry where the traces part, or -1.
  static long firstDifference(const std::vector<std::string>& a,
                              const std::vector<std::string>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
      if (a[i] != b[i]) return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(std::min(a.size(), b.size()));
  }
};

TEST_F(SpatialGridTest, RandomWorldsGiveThePlainWalksCollisionsAndEventsAtAnyBucketSize) {
  const int sizes[][2] = {{20, 8}, {1, 1}, {3, 2}, {100000, 100000}};
  for (unsigned seed = 1; seed <= 8; ++seed) {
    const std::vector<std::string> plain = play(seed, 0, 0, 3000);
    ASSERT_GT(plain.size(), 9000u);
    for (const auto& size : sizes) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", buckets " + std::to_string(size[0]) + " x " +
                   std::to_string(size[1]));
      const std::vector<std::string> indexed = play(seed, size[0], size[1], 3000);
      const long at = firstDifference(plain, indexed);
      ASSERT_EQ(at, -1) << "plain: " << (at < static_cast<long>(plain.size()) ? plain[at] : "end")
                        << "\nindexed: "
                        << (at < static_cast<long>(indexed.size()) ? indexed[at] : "end");
    }
  }
}

// The start-up says whether the spatial index is on and with which buckets; 0 or less for
// either setting turns it off, and the collision query walks the solid list instead.
TEST_F(SpatialGridTest, StartUpSaysWhetherTheSpatialIndexIsOnAndItsBucketSize) {
  EXPECT_TRUE(logHas("SceneGraph::startUp(): spatial index on, buckets of 20 x 8 cells"));
  const struct {
    const char* settings;
    bool on;
    const char* line;
  } cases[] = {
      {"grid_width:1,grid_height:100000,", true,
       "SceneGraph::startUp(): spatial index on, buckets of 1 x 100000 cells"},
      {"grid_width:0,grid_height:8,", false,
       "SceneGraph::startUp(): spatial index off (grid_width 0, grid_height 8), collisions walk "
       "the solid list"},
      {"grid_width:20,grid_height:-3,", false,
       "SceneGraph::startUp(): spatial index off (grid_width 20, grid_height -3), collisions walk "
       "the solid list"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    Config::getInstance().loadConfig(c.settings);
    world().shutDown();
    ASSERT_EQ(world().startUp(), 0);
    EXPECT_TRUE(logHas(c.line));
    EXPECT_EQ(world().getSceneGraph().hasGrid(), c.on);
    auto* mover = new Probe(Vector(5.0f, 5.0f));
    auto* other = new Probe(Vector(5.5f, 5.0f));
    EXPECT_EQ(items(world().getCollisions(mover, mover->getPosition())),
              std::vector<Object*>{other});
  }
}

}  // namespace
}  // namespace tx::test
