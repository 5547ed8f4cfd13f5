#include "tolvex/path/PathFind.h"

#include <cmath>
#include <random>

#include "PathFixture.h"
#include "PlainPathSearch.h"
#include "tolvex/display/Animation.h"

namespace tx::test {
namespace {

using PathFindTest = PathTest;

TEST_F(PathFindTest, TargetIsReachedWhereTheyTouchAndForgottenWhenDestroyed) {
  auto* target = new Probe(cell(12, 7));
  target->setBox(Box(Vector(-2.5f, -2.5f), 5.0f, 5.0f));
  Walker walker(cell(2, 7));
  PathFind reaching(&walker, cell(2, 7), cell(12, 7), target);
  ASSERT_EQ(runToEnd(reaching), 2);
  // The walker's box at (9, 7) reaches 9.49, the target's begins at 9.5: (10, 7) touches first.
  EXPECT_EQ(reaching.getPath().getNodes().back(), cell(10, 7));
  PathFind forgetting(&walker, cell(2, 7), cell(12, 7), target);
  EXPECT_EQ(forgetting.cycleOnce(), 1);
  delete target;
  ASSERT_EQ(runToEnd(forgetting), 2);
  EXPECT_EQ(forgetting.getPath().getNodes().back(), cell(12, 7));
}

// Refused: places far off or NaN (cells held to the int range) and worlds above MAX_PATH_CELLS.
TEST_F(PathFindTest, SearchKeepsToTheWorldItWasMadeForAndRefusesOthers) {
  Walker walker(cell(2, 2));
  const std::pair<Vector, std::string> far[] = {
      {Vector(1e30f, 2.0f), "2147483647,2"},
      {Vector(-1e30f, HUGE_VALF), "-2147483648,2147483647"},
      {Vector(NAN, 2.0f), "-2147483648,2"}};
  for (const auto& [goal, shown] : far) {
    PathFind search(&walker, cell(2, 2), goal);
    EXPECT_EQ(logMessages().back(), "PathFind::PathFind(): Error! start (2,2) or goal (" + shown +
                                        ") outside the 20 x 15 world.");
  }
  PathFind grown(&walker, cell(18, 7), cell(19, 14));
  setWorld(60, 40);  // The nodes were made for 20 x 15; cells beyond them must not be touched.
  ASSERT_EQ(runToEnd(grown), 2);
  const Path path = grown.getPath();  // getNodes() refers into the path
  for (const Vector& n : path.getNodes()) EXPECT_TRUE(n.getX() < 20 && n.getY() < 15);
  setWorld(2048, 1024);
  PathFind huge(&walker, cell(2, 2), cell(3, 3));
  EXPECT_EQ(logMessages().back(),
            "PathFind::PathFind(): Error! the 2048 x 1024 world has more than the 1048576 cells a "
            "search covers.");
  EXPECT_EQ(huge.cycleOnce(), 0);
}

// Random mazes, walkers of each solidness: ties, corners, walled goals; half change mid-search.
class RandomMazeTest : public PathTest {
 protected:
  int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
  Box obstacleBox() {
    const Box odd[] = {
        Box(Vector(-1.0f, -0.5f), 2.0f, 1.0f), Box(Vector(-0.25f, -0.25f), 0.5f, 0.5f),
        Box(Vector(0.5f, -0.5f), -2.0f, 1.0f), Box(Vector(-0.5f, -0.5f), HUGE_VALF, 0.5f)};
    const int kind = pick(16);
    return kind < 4 ? odd[kind] : Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  }
  Vector obstaclePlace() {
    const int kind = pick(40);
    if (kind == 0) return Vector(NAN, 3.0f);
    if (kind == 1) return Vector(-1e30f, 1e30f);
    return cell(pick(width), pick(height)) + (kind == 2 ? Vector(0.5f, 0.25f) : Vector());
  }
  void addObstacle() {
    const Solidness solid = pick(10) == 0 ? SOFT : pick(10) == 0 ? SPECTRAL : HARD;
    (new Probe(obstaclePlace(), solid))->setBox(obstacleBox());
  }
  // Something the world may do between two steps of a search.
  void change() {
    const std::vector<Object*> all = items(world().getAllObjects(true));
    Object* o = pick(5) == 0 ? walker : all[pick(static_cast<int>(all.size()))];
    const int kind = pick(8);
    if (kind == 0) o->setPosition(obstaclePlace());
    if (kind == 1) o->setSolidness(o->getSolidness() == HARD ? SOFT : HARD);
    if (kind == 2) o->setActive(!o->isActive());
    if (kind == 3) o->setBox(obstacleBox());
    if (kind == 4) o->setAnimation(Animation(), true);
    if (kind == 5) addObstacle();
    if (kind == 6 && o != walker) delete o;
  }
  std::mt19937 rng;
  Object* walker = nullptr;
  int width = 0, height = 0;
};

TEST_F(RandomMazeTest, EngineSearchTakesThePlainSearchsStepsAndPaths) {
  int found = 0;
  for (unsigned maze = 0; maze < 300; ++maze) {
    SCOPED_TRACE("maze " + std::to_string(maze));
    rng.seed(maze);
    world().shutDown();
    ASSERT_EQ(world().startUp(), 0);
    width = 8 + pick(33), height = 6 + pick(20);
    setWorld(width, height);
    for (int i = width * height * (10 + pick(20)) / 100; i > 0; --i) addObstacle();
    // From the left quarter to the right one, so that the searches have some way to go.
    const int x = pick(width / 4), y = pick(height), to_x = width - 1 - pick(width / 4),
              to_y = pick(height);
    walker = new Walker(cell(x, y), static_cast<Solidness>(maze % 3));
    if (pick(4) == 0) walker->setBox(Box(Vector(-0.75f, -0.75f), 1.5f, 1.5f));
    PathFind engine(walker, cell(x, y), cell(to_x, to_y));
    paths().removePath(&engine);
    PlainPathSearch plain(walker, x, y, to_x, to_y);
    int r = 1;
    for (int step = 0; r == 1; ++step) {
      r = engine.cycleOnce();
      ASSERT_EQ(r, plain.step()) << "step " << step;
      if (maze % 2 == 1 && pick(2) == 0) change();
    }
    EXPECT_EQ(engine.getPath().getNodes(), plain.path());
    found += r == 2 ? 1 : 0;
  }
  EXPECT_GT(found, 100) << "most mazes should have a way through";
  EXPECT_LT(found, 290) << "some mazes should have none";
}

}  // namespace
}  // namespace tx::test
