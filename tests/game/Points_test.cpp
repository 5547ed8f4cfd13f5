#include "Difficulty.h"
#include "GameFixture.h"
#include "Player.h"
#include "Points.h"

namespace tx::test {
namespace {

class PointsTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    startGame();
    player = first<Player>("Player");
    ObjectList displays = WorldManager::getInstance().objectsOfType("ViewObject");
    for (ObjectListIterator it(&displays); !it.isDone(); it.next()) {
      if (auto* found = dynamic_cast<Points*>(it.currentObject())) points = found;
    }
    ASSERT_NE(player, nullptr);
    ASSERT_NE(points, nullptr);
  }

  // Puts the player at height y for one step, hovering there.
  void stepAt(float y) {
    player->setPosition(Vector(40.0f, y));
    player->setVelocity(Vector(0.0f, 0.0f));
    step();
  }

  Player* player = nullptr;
  Points* points = nullptr;
};

TEST_F(PointsTest, HeightCountsFiveACellAndNeverDrops) {
  stepAt(-8.5f);
  EXPECT_EQ(points->getValue(), 0);
  stepAt(-9.0f);
  EXPECT_EQ(points->getValue(), 5);
  stepAt(-20.0f);
  EXPECT_EQ(points->getValue(), 60);
  stepAt(-10.0f);
  EXPECT_EQ(points->getValue(), 60);
}

TEST_F(PointsTest, RisingPastFiveHundredGainsALevel) {
  stepAt(-28.0f);
  EXPECT_EQ(points->getValue(), 100);
  stepAt(-108.0f);
  EXPECT_EQ(points->getValue(), 500);
  EXPECT_EQ(first<Difficulty>("Difficulty")->getLevel(), 5);
  stepAt(-109.0f);
  EXPECT_EQ(points->getValue(), 505);
  EXPECT_EQ(first<Difficulty>("Difficulty")->getLevel(), 4);
}

TEST_F(PointsTest, NoPlayerNoChange) {
  WorldManager::getInstance().markForDelete(player);
  step(3);
  EXPECT_EQ(points->getValue(), 0);
}

}  // namespace
}  // namespace tx::test
