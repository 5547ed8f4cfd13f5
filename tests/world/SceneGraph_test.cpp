#include "tolvex/world/SceneGraph.h"

#include <functional>

#include "Probe.h"

namespace tx::test {
namespace {

class SceneGraphTest : public WorldTest {
 protected:
  static SceneGraph& graph() { return world().getSceneGraph(); }

  // The object is in exactly the lists its current state calls for, or, when not filed, in none.
  static void expectFiled(const Object* o, bool filed = true) {
    const bool active = filed && o->isActive(), visible = active && o->isVisible();
    EXPECT_EQ(holds(graph().activeObjects(), o), active) << "active list";
    EXPECT_EQ(holds(graph().inactiveObjects(), o), filed && !o->isActive()) << "inactive list";
    EXPECT_EQ(holds(graph().solidObjects(), o), active && o->isSolid()) << "solid list";
    for (const char* type : {"(Undefined)", "Player"})
      EXPECT_EQ(holds(graph().objectsOfType(type), o), active && o->getType() == type) << type;
    for (int a = 0; a <= MAX_ALTITUDE; ++a)
      EXPECT_EQ(holds(graph().visibleObjects(a), o), visible && o->getAltitude() == a) << a;
  }
};

// Removal, of an active or an inactive object, leaves it in no list, the solid list included.
TEST_F(SceneGraphTest, EverySetterKeepsTheListsInStepAndRemovalEmptiesThem) {
  const std::vector<std::pair<const char*, std::function<int(Object*)>>> setters = {
      {"altitude 4", [](Object* o) { return o->setAltitude(4); }},
      {"soft", [](Object* o) { return o->setSolidness(SOFT); }},
      {"spectral", [](Object* o) { return o->setSolidness(SPECTRAL); }},
      {"invisible", [](Object* o) { return o->setVisible(false); }},
      {"altitude 0", [](Object* o) { return o->setAltitude(0); }},
      {"visible", [](Object* o) { return o->setVisible(true); }},
      {"type", [](Object* o) { return o->setType("Player"), 0; }},
      {"hard", [](Object* o) { return o->setSolidness(HARD); }}};
  for (const bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    Object* o = new Object;
    expectFiled(o);  // new: active, solid, visible at altitude 2, type (Undefined)
    ASSERT_EQ(o->setActive(active), 0);
    for (const auto& [name, set] : setters) {
      SCOPED_TRACE(name);
      EXPECT_EQ(set(o), 0);
      expectFiled(o);
    }
    ASSERT_EQ(o->setActive(!active), 0);  // activation files the current state
    expectFiled(o);
    EXPECT_EQ(graph().removeObject(o), 0);
    expectFiled(o, false);
    ASSERT_EQ(graph().insertObject(o), 0);
    ASSERT_EQ(o->setActive(true), 0);
    expectFiled(o);
    EXPECT_EQ(items(graph().activeObjects()).back(), o);  // reactivated: last in its lists
    EXPECT_EQ(items(graph().visibleObjects(0)).back(), o);
  }
}

}  // namespace
}  // namespace tx::test
