#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "PathFixture.h"
#include "PlainPathSearch.h"
#include "tolvex/display/Animation.h"

namespace tx::test {
namespace {

// Random mazes of HARD walls, some off the cells, large, backwards, endless or nowhere, with
// SOFT and SPECTRAL objects about, searched for HARD, SOFT and SPECTRAL walkers by the engine and
// by the plain search in step; in half of them the world (the walker too) changes while the
// searches run.
class PathFindDifferential : public PathTest {
 protected:
  int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
  Vector anyCell(int width, int height) { return cell(pick(width), pick(height)); }

  Box obstacleBox() {
    switch (pick(16)) {
      case 0:
        return Box(Vector(-1.0f, -0.5f), 2.0f, 1.0f);
      case 1:
        return Box(Vector(-0.25f, -0.25f), 0.5f, 0.5f);
      case 2:
        return Box(Vector(0.5f, -0.5f), -2.0f, 1.0f);
      case 3:
        return Box(Vector(-0.5f, -0.5f), std::numeric_limits<float>::infinity(), 0.5f);
      default:
        return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
    }
  }
  Vector obstaclePlace(int width, int height) {
    switch (pick(40)) {
      case 0:
        return Vector(std::numeric_limits<float>::quiet_NaN(), 3.0f);
      case 1:
        return Vector(-1e30f, 1e30f);
      case 2:
        return anyCell(width, height) + Vector(0.5f, 0.25f);
      default:
        return anyCell(width, height);
    }
  }
  Solidness obstacleSolidness() { return pick(10) == 0 ? SOFT : pick(10) == 0 ? SPECTRAL : HARD; }

  void addObstacle(int width, int height) {
    Object* o = wall(obstaclePlace(width, height));
    o->setBox(obstacleBox());
    o->setSolidness(obstacleSolidness());
  }

  // Something the world may do between two steps of a search.
  void change(int width, int height) {
    const std::vector<Object*> all = items(world().getAllObjects(true));
    Object* o = all[static_cast<std::size_t>(pick(static_cast<int>(all.size())))];
    if (pick(5) == 0) o = walker;
    switch (pick(8)) {
      case 0:
        o->setPosition(obstaclePlace(width, height));
        break;
      case 1:
        o->setSolidness(o->getSolidness() == HARD ? SOFT : HARD);
        break;
      case 2:
        o->setActive(!o->isActive());
        break;
      case 3:
        o->setBox(obstacleBox());
        break;
      case 4:
        o->setAnimation(Animation(), true);
        break;
      case 5:
        addObstacle(width, height);
        break;
      case 6:
        if (o != walker) delete o;
        break;
      default:
        break;
    }
  }

  std::mt19937 rng;
  Object* walker = nullptr;
};

TEST_F(PathFindDifferential, RandomMazesGiveThePlainSearchsStepsAndPaths) {
  int found = 0;
  for (unsigned maze = 0; maze < 300; ++maze) {
    SCOPED_TRACE("maze " + std::to_string(maze));
    rng.seed(maze);
    world().shutDown();
    ASSERT_EQ(world().startUp(), 0);
    const int width = 8 + pick(33);
    const int height = 6 + pick(20);
    setWorld(width, height);
    const int walls = width * height * (10 + pick(20)) / 100;
    for (int i = 0; i < walls; ++i) addObstacle(width, height);
    const Solidness solidness[] = {HARD, SOFT, SPECTRAL};
    // From the left quarter to the right one, so that the searches have some way to go.
    walker = new Walker(cell(pick(width / 4), pick(height)), solidness[maze % 3]);
    if (pick(4) == 0) walker->setBox(Box(Vector(-0.75f, -0.75f), 1.5f, 1.5f));
    const Vector start = walker->getPosition();
    const Vector goal = cell(width - 1 - pick(width / 4), pick(height));
    PathFind engine(walker, start, goal);
    paths().removePath(&engine);
    PlainPathSearch plain(walker, static_cast<int>(start.getX()), static_cast<int>(start.getY()),
                          static_cast<int>(goal.getX()), static_cast<int>(goal.getY()));
    const bool changing = maze % 2 == 1;
    int r = 1;
    for (int step = 0; r == 1; ++step) {
      r = engine.cycleOnce();
      ASSERT_EQ(r, plain.step()) << "step " << step;
      if (changing && pick(2) == 0) change(width, height);
    }
    EXPECT_EQ(engine.getPath().getNodes(), plain.path());
    found += r == 2 ? 1 : 0;
  }
  EXPECT_GT(found, 100) << "most mazes should have a way through";
  EXPECT_LT(found, 290) << "some mazes should have none";
}

}  // namespace
}  // namespace tx::test
