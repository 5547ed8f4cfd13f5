#include <cmath>

#include "Difficulty.h"
#include "GameFixture.h"
#include "Platform.h"
#include "Player.h"
#include "Points.h"

namespace tx::test {
namespace {

// Plays the game the way a player does: from each ledge it picks the nearest ledge above,
// jumps, and steers towards it in the air.
class ClimbTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    startGame();
    player = first<Player>("Player");
    ASSERT_NE(player, nullptr);
  }

  // Signed shortest way from x to target around the wrapping edges.
  static float towards(float x, float target) {
    float dx = target - x;
    if (dx > 40.0f) dx -= 80.0f;
    if (dx < -40.0f) dx += 80.0f;
    return dx;
  }

  const Object* ledgeAbove() {
    const Vector at = player->getPosition();
    const Object* best = nullptr;
    float best_dx = 1e9f;
    ObjectList all = WorldManager::getInstance().getAllObjects();
    for (ObjectListIterator it(&all); !it.isDone(); it.next()) {
      const Object* o = it.currentObject();
      if (o->getType() != "Platform") continue;
      const float rise = at.getY() - o->getPosition().getY();
      // Reachable: the ledge turns solid only once the jump's top (5.5 cells up) is more than
      // 2 cells above it.
      if (rise < 1.0f || rise >= 3.5f) continue;
      const float dx = std::fabs(towards(at.getX(), o->getPosition().getX()));
      if (dx < best_dx) {
        best_dx = dx;
        best = o;
      }
    }
    return best;
  }

  // One step of play; false once the player is gone.
  bool play() {
    if (countOfType("Player") == 0) return false;
    if (!player->isInAir()) {
      target = ledgeAbove();
      if (target != nullptr) sendKey(KeyCode::SPACE, KeyAction::PRESSED);
    } else if (target != nullptr) {
      const float dx = towards(player->getPosition().getX(), target->getPosition().getX());
      if (dx > 0.5f) sendKey(KeyCode::D, KeyAction::HELD);
      if (dx < -0.5f) sendKey(KeyCode::A, KeyAction::HELD);
    }
    step();
    return countOfType("Player") == 1;
  }

  int height() {
    ObjectList displays = WorldManager::getInstance().objectsOfType("ViewObject");
    for (ObjectListIterator it(&displays); !it.isDone(); it.next()) {
      if (auto* points = dynamic_cast<Points*>(it.currentObject())) return points->getValue();
    }
    return -1;
  }

  Player* player = nullptr;
  const Object* target = nullptr;
};

TEST_F(ClimbTest, AJumpReachesTheLedgeFiveCellsUp) {
  ObjectList platforms = WorldManager::getInstance().objectsOfType("Platform");
  ObjectListIterator it(&platforms);
  Object* ledge = it.currentObject();
  step(15);
  ASSERT_FALSE(player->isInAir());
  const float standing = player->getPosition().getY();
  ledge->setPosition(Vector(40.0f, 12.0f - 5.0f));
  sendKey(KeyCode::SPACE, KeyAction::PRESSED);
  step(30);
  EXPECT_FALSE(player->isInAir());
  EXPECT_NEAR(player->getPosition().getY(), standing - 5.0f, 1.0f);
  EXPECT_EQ(ledge->getSolidness(), HARD);
}

TEST_F(ClimbTest, ACarefulClimberOutlastsAMinuteAndGainsALevel) {
  int steps = 0;
  while (steps < 1800 && play()) ++steps;
  RecordProperty("height", height());
  EXPECT_EQ(steps, 1800);
  EXPECT_GT(height(), 500);
  EXPECT_LT(first<Difficulty>("Difficulty")->getLevel(), 5);
}

}  // namespace
}  // namespace tx::test
