#include "world/SceneGraph.h"

#include <cstdio>

#include "WorldFixture.h"
#include "core/GameManager.h"

namespace tx::test {
namespace {

class SceneGraphTest : public WorldTest {
 protected:
  static SceneGraph& graph() { return world().getSceneGraph(); }

  // The object is filed exactly where its current state says, and nowhere else.
  static void expectFiled(const Object* o) {
    SceneGraph& g = graph();
    const bool active = o->isActive();
    EXPECT_EQ(holds(g.activeObjects(), o), active);
    EXPECT_EQ(holds(g.inactiveObjects(), o), !active);
    EXPECT_EQ(holds(g.solidObjects(), o), active && o->isSolid());
    EXPECT_EQ(holds(g.objectsOfType(o->getType()), o), active);
    for (int a = 0; a <= MAX_ALTITUDE; ++a) {
      EXPECT_EQ(holds(g.visibleObjects(a), o), active && o->isVisible() && o->getAltitude() == a)
          << "altitude " << a;
    }
  }
};

TEST_F(SceneGraphTest, StartUpAnnouncesSimpleConfiguration) {
  LogManager::getInstance().setLogLevel(1);
  EXPECT_EQ(graph().startUp(), 0);
  EXPECT_TRUE(logHas("Scenegraph configuration: SIMPLE"));
}

TEST_F(SceneGraphTest, NewObjectIsActiveSolidVisibleAtAltitudeTwoUndefinedType) {
  Object* o = new Object;
  expectFiled(o);
  EXPECT_TRUE(holds(graph().visibleObjects(2), o));
  EXPECT_TRUE(holds(world().objectsOfType("(Undefined)"), o));
}

TEST_F(SceneGraphTest, EverySetterKeepsTheListsInStep) {
  Object* o = new Object;
  EXPECT_EQ(o->setAltitude(4), 0);
  expectFiled(o);
  EXPECT_EQ(o->setSolidness(SOFT), 0);
  expectFiled(o);
  EXPECT_EQ(o->setSolidness(SPECTRAL), 0);
  expectFiled(o);
  EXPECT_EQ(o->setVisible(false), 0);
  expectFiled(o);
  EXPECT_EQ(o->setAltitude(0), 0);
  expectFiled(o);
  EXPECT_EQ(o->setVisible(true), 0);
  EXPECT_TRUE(holds(graph().visibleObjects(0), o));
  expectFiled(o);
  o->setType("Player");
  expectFiled(o);
  EXPECT_FALSE(holds(graph().objectsOfType("(Undefined)"), o));
  o->setBox(Box(Vector(-1.0f, -1.0f), 2.0f, 2.0f));
  expectFiled(o);
  EXPECT_EQ(o->setSolidness(HARD), 0);
  expectFiled(o);
}

TEST_F(SceneGraphTest, SettersOnInactiveObjectTouchNoListAndActivationFilesCurrentState) {
  Object* o = new Object;
  ASSERT_EQ(o->setActive(false), 0);
  expectFiled(o);
  EXPECT_EQ(o->setAltitude(3), 0);
  EXPECT_EQ(o->setVisible(false), 0);
  EXPECT_EQ(o->setVisible(true), 0);
  EXPECT_EQ(o->setSolidness(SPECTRAL), 0);
  o->setType("Ghost");
  o->setBox(Box(Vector(), 3.0f, 3.0f));
  expectFiled(o);
  EXPECT_TRUE(graph().objectsOfType("Ghost").isEmpty());
  ASSERT_EQ(o->setActive(true), 0);
  expectFiled(o);
  EXPECT_TRUE(holds(graph().visibleObjects(3), o));
  EXPECT_TRUE(holds(graph().objectsOfType("Ghost"), o));
  EXPECT_FALSE(holds(graph().solidObjects(), o));
}

TEST_F(SceneGraphTest, ReactivatedObjectGoesToTheEndOfItsLists) {
  Object* a = new Object;
  Object* b = new Object;
  ASSERT_EQ(a->setActive(false), 0);
  ASSERT_EQ(a->setActive(true), 0);
  EXPECT_EQ(items(graph().activeObjects()), (std::vector<Object*>{b, a}));
  EXPECT_EQ(items(graph().solidObjects()), (std::vector<Object*>{b, a}));
  EXPECT_EQ(items(graph().visibleObjects(2)), (std::vector<Object*>{b, a}));
  EXPECT_EQ(items(graph().objectsOfType("(Undefined)")), (std::vector<Object*>{b, a}));
}

TEST_F(SceneGraphTest, VisibleObjectsOutsideAltitudeRangeWarnsAndIsEmpty) {
  new Object;
  EXPECT_TRUE(graph().visibleObjects(5).isEmpty());
  EXPECT_TRUE(logHas("SceneGraph::visibleObjects(): Warning! altitude 5 not in [0,4]."));
  EXPECT_TRUE(graph().visibleObjects(-1).isEmpty());
}

TEST_F(SceneGraphTest, UnknownTypeIsEmpty) { EXPECT_TRUE(graph().objectsOfType("Nobody").isEmpty()); }

TEST_F(SceneGraphTest, RemovingAnObjectNeverInsertedReportsIdAndAddress) {
  world().shutDown();
  Object* stray = new Object;
  ASSERT_EQ(world().startUp(), 0);
  EXPECT_EQ(graph().removeObject(stray), -1);
  char line[160];
  std::snprintf(line, sizeof line, "SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.",
                stray->getId(), static_cast<void*>(stray));
  EXPECT_TRUE(logHas(line));
  delete stray;
}

// An object taken out of the lists behind its own back: deactivating it finds nothing to remove.
TEST_F(SceneGraphTest, DeactivationFailuresAreReported) {
  Object* o = new Object;
  ASSERT_EQ(graph().removeObject(o), 0);
  EXPECT_EQ(graph().updateActive(o, false), -1);
  EXPECT_TRUE(logHas("SceneGraph::updateActive(): remove object ((Undefined)) failed for objects!"));
  EXPECT_TRUE(logHas(
      "SceneGraph::updateActive(): remove visible object ((Undefined)) failed for visible_objects!"));
  EXPECT_TRUE(
      logHas("SceneGraph::updateActive(): remove object ((Undefined)) failed for solid_objects!"));
  EXPECT_TRUE(holds(graph().inactiveObjects(), o));
  ASSERT_EQ(graph().inactiveObjects().getCount(), 1);
}

TEST_F(SceneGraphTest, DeactivationFailuresAfterGameOverAreSilent) {
  Object* o = new Object;
  ASSERT_EQ(graph().removeObject(o), 0);
  GameManager::getInstance().setGameOver(true);
  graph().updateActive(o, false);
  for (const std::string& line : logMessages()) {
    EXPECT_EQ(line.find("SceneGraph::updateActive()"), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace tx::test
