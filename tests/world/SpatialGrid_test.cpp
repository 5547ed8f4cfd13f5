#include "tolvex/world/SpatialGrid.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

#include "Probe.h"
#include "tolvex/core/Config.h"
#include "tolvex/display/Animation.h"
#include "tolvex/world/EventOut.h"
#include "tolvex/world/SceneGraph.h"

namespace tx::test {
namespace {

const float INF = HUGE_VALF, NaN = NAN;

// A seeded world changed every way it knows, handlers destroying too; every result is traced.
class RandomWorld {
 public:
  explicit RandomWorld(unsigned seed) : rng(seed) {}

  std::vector<std::string> play(int steps) {
    for (int i = 0; i < 70; ++i) new Actor(*this);
    for (int step = 0; step < steps; ++step) act(), probe();
    return trace;
  }

 private:
  // Tags count from 0 in each run, so that two runs of one seed name objects alike.
  struct Actor : Object {
    explicit Actor(RandomWorld& init_world) : world(init_world), tag(world.next_tag++) {
      setPosition(world.position());
      setBox(world.box());
      setSolidness(static_cast<Solidness>(world.pick(5) % 3));
      setVelocity(world.velocity());
    }
    int eventHandler(const Event* event) override {
      if (const auto* c = dynamic_cast<const EventCollision*>(event)) {
        world.note("collision" + tagOf(this) + tagOf(c->getObject1()) + tagOf(c->getObject2()),
                   c->getPosition());
        world.react(this, c->getObject1() == this ? c->getObject2() : c->getObject1());
      } else if (event->getType() == OUT_EVENT) {
        world.note("out" + tagOf(this));
        setVelocity(Vector() - getVelocity());  // Back, so that the world stays crowded.
      }
      return 1;
    }
    RandomWorld& world;
    int tag;
  };

  static std::string tagOf(const Object* o) {
    return " " + std::to_string(static_cast<const Actor*>(o)->tag);
  }
  int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
  float uniform(float low, float high) {
    return low + (high - low) * static_cast<float>(rng() % 100001) / 100000.0f;
  }
  float quarter(float low, float high) { return std::round(uniform(low, high) * 4.0f) / 4.0f; }
  // Mostly quarter cells inside, so that edges meet; at times odd, outside or on a bucket edge.
  float coordinate() {
    const float odd[] = {
        NaN, INF, -1e30f, 1e9f, -1e9f, static_cast<float>(8 * pick(10)), -uniform(0.0f, 30.0f)};
    const int kind = pick(28);
    return kind < 7 ? odd[kind] : quarter(-1.0f, 25.0f);
  }
  Vector position() { return Vector(coordinate(), coordinate()); }
  // Ordinary, bucket-sized, larger than the world, empty, backwards, or reaching without end.
  Box box() {
    const float kinds[][4] = {
        {0, 0, 20, 8},          {-60, -60, 120, 120},   {0, 0, 0, 0},
        {0.5f, 0, -3, 2},       {-0.5f, -0.5f, 1, 1},   {-1, -0.5f, 6.5f, 2},
        {-0.5f, -0.5f, INF, 1}, {-0.5f, -0.5f, 1, NaN}, {-0.5f, -0.5f, 0.99f, 0.99f}};
    const float* k = kinds[std::min(pick(14), 8)];
    return Box(Vector(k[0], k[1]), k[2], k[3]);
  }
  Vector velocity() {
    const float most = pick(20) == 0 ? 60.0f : 0.5f;
    return Vector(uniform(-most, most), uniform(-most, most));
  }
  Object* anyObject() {
    const std::vector<Object*> all = items(WorldManager::getInstance().getAllObjects(true));
    return all.empty() ? nullptr : all[pick(static_cast<int>(all.size()))];
  }

  // What a collision handler may do now and then to either object, a bystander or the world.
  void react(Object* self, Object* other) {
    const int reaction = pick(150);
    if (reaction == 0) WorldManager::getInstance().markForDelete(other);
    if (reaction == 1) delete other;
    if (reaction == 2) self->setSolidness(pick(2) ? HARD : SOFT);
    if (reaction == 3) new Actor(*this);
    if (reaction == 4) WorldManager::getInstance().markForDelete(self);
    if (reaction == 5) delete self;
    Object* bystander = reaction == 6 ? anyObject() : nullptr;
    if (bystander != self) delete bystander;
  }

  void act() {
    WorldManager& world = WorldManager::getInstance();
    // Objects that wandered off come back, so that the world stays crowded.
    if (Object* o = anyObject(); o != nullptr && pick(2) == 0)
      o->setPosition(Vector(quarter(0.0f, 24.0f), quarter(0.0f, 24.0f)));
    if (pick(3) > 0) return world.update();
    Object* o = anyObject();
    if (world.getAllObjects(true).getCount() < 70) return void(new Actor(*this));
    focus = o->getPosition();
    const int change = pick(12);  // New objects come whenever fewer than 70 are left.
    if (change == 0) {            // The mover may not survive its move.
      const std::string what = "move" + tagOf(o);
      const Vector where = position();
      note(what + " " + std::to_string(world.moveObject(o, where)), where);
    }
    if (change == 1) o->setSolidness(static_cast<Solidness>(pick(3)));
    if (change == 2) o->setActive(!o->isActive());
    if (change == 3) o->setBox(box());
    if (change == 4) o->setPosition(position());
    if (change == 5) o->setVelocity(velocity());
    if (change == 6) world.markForDelete(o);
    if (change == 7) delete o;
    if (change == 8) world.setBoundary(Box(Vector(), uniform(5.0f, 60.0f), uniform(5.0f, 40.0f)));
    if (change == 9) o->setAvoidCollisions(!o->getAvoidCollisions());
    if (change == 10) o->setNoSoft(!o->getNoSoft());
    if (change == 11) o->setAnimation(Animation(), true);  // Takes the box of no sprite.
  }

  // Three queries from a random object: anywhere, where it stands, and near the last change.
  void probe() {
    for (int i = 0; i < 3; ++i) {
      Object* o = anyObject();
      if (o == nullptr) return;
      const Vector near_focus = focus + Vector(quarter(-1.0f, 1.0f), quarter(-1.0f, 1.0f));
      const Vector where = i == 0 ? position() : i == 1 ? o->getPosition() : near_focus;
      std::string hits = "query" + tagOf(o) + ":";
      for (Object* hit : items(WorldManager::getInstance().getCollisions(o, where)))
        hits += tagOf(hit);
      note(hits, where);
    }
  }

  // Floats in hexadecimal, so that every bit of a place compares.
  void note(const std::string& what, Vector where = Vector()) {
    std::ostringstream line;
    line << std::hexfloat << what << ' ' << where.getX() << ',' << where.getY();
    trace.push_back(line.str());
  }

  std::mt19937 rng;
  int next_tag = 0;
  Vector focus;
  std::vector<std::string> trace;
};

using SpatialGridTest = WorldTest;

TEST_F(SpatialGridTest, RandomWorldsGiveThePlainWalksCollisionsAndEventsAtAnyBucketSize) {
  const auto play = [](unsigned seed, int bucket_width, int bucket_height) {  // 0 x 0: plain walk
    world().shutDown();
    EXPECT_EQ(world().startUp(), 0);
    world().setBoundary(Box(Vector(), 24.0f, 24.0f));
    world().getSceneGraph().setGrid(bucket_width, bucket_height);
    return RandomWorld(seed).play(3000);
  };
  const int sizes[][2] = {{20, 8}, {1, 1}, {3, 2}, {100000, 100000}};
  for (unsigned seed = 1; seed <= 8; ++seed) {
    const std::vector<std::string> plain = play(seed, 0, 0);
    ASSERT_GT(plain.size(), 9000u);
    for (const auto& size : sizes) {
      SCOPED_TRACE(testing::Message()
                   << "seed " << seed << ", buckets " << size[0] << " x " << size[1]);
      const std::vector<std::string> indexed = play(seed, size[0], size[1]);
      for (std::size_t i = 0; i < std::max(plain.size(), indexed.size()); ++i)
        ASSERT_EQ(i < plain.size() ? plain[i] : "end", i < indexed.size() ? indexed[i] : "end")
            << i;
    }
  }
}

// The start-up tells whether the spatial index is on; 0 or less for either setting turns it off.
TEST_F(SpatialGridTest, StartUpSaysWhetherTheSpatialIndexIsOnAndItsBucketSize) {
  const std::string index = "SceneGraph::startUp(): spatial index ";
  const std::string off = ", collisions walk the solid list";
  EXPECT_TRUE(logHas(index + "on, buckets of 20 x 8 cells"));
  const std::pair<const char*, std::string> cases[] = {
      {"grid_width:1,grid_height:100000,", "on, buckets of 1 x 100000 cells"},
      {"grid_width:0,grid_height:8,", "off (grid_width 0, grid_height 8)" + off},
      {"grid_width:20,grid_height:-3,", "off (grid_width 20, grid_height -3)" + off}};
  for (const auto& [settings, line] : cases) {
    Config::getInstance().loadConfig(settings);
    world().shutDown();
    ASSERT_EQ(world().startUp(), 0);
    EXPECT_TRUE(logHas(index + line)) << settings;
    EXPECT_EQ(world().getSceneGraph().hasGrid(), line.compare(0, 3, "on,") == 0);
  }
}

}  // namespace
}  // namespace tx::test
