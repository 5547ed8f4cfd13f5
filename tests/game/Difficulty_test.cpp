#include <set>

#include "Difficulty.h"
#include "GameFixture.h"
#include "LevelDisplay.h"
#include "Platform.h"

namespace tx::test {
namespace {

class DifficultyTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    startGame();
    difficulty = first<Difficulty>("Difficulty");
    ASSERT_NE(difficulty, nullptr);
  }

  int levelShown() {
    ObjectList displays = WorldManager::getInstance().objectsOfType("ViewObject");
    for (ObjectListIterator it(&displays); !it.isDone(); it.next()) {
      if (auto* level = dynamic_cast<LevelDisplay*>(it.currentObject())) return level->getValue();
    }
    return -1;
  }

  Difficulty* difficulty = nullptr;
};

TEST_F(DifficultyTest, StartsAtLevelFiveBehindEverything) {
  EXPECT_EQ(difficulty->getLevel(), 5);
  EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), 0.075f);
  EXPECT_EQ(difficulty->getVelocity(), Vector(0.0f, -0.075f));
  EXPECT_EQ(difficulty->getPosition(), Vector(40.0f, 12.0f));
  EXPECT_EQ(difficulty->getAltitude(), 0);
  EXPECT_EQ(difficulty->getSolidness(), SPECTRAL);
  EXPECT_EQ(difficulty->getAnimation().getName(), "background1");
  sf::Music* music = difficulty->getMusic()->getMusic();
  EXPECT_EQ(music->getStatus(), sf::SoundSource::Playing);
  EXPECT_TRUE(music->getLoop());
  EXPECT_FLOAT_EQ(music->getVolume(), 50.0f);
}

TEST_F(DifficultyTest, SeedsSixPlatformsPerRowEveryFiveCells) {
  std::multiset<float> rows;
  ObjectList platforms = WorldManager::getInstance().objectsOfType("Platform");
  for (ObjectListIterator it(&platforms); !it.isDone(); it.next()) {
    rows.insert(it.currentObject()->getPosition().getY());
  }
  for (float row : {-12.0f, -7.0f, -2.0f, 3.0f, 8.0f}) EXPECT_EQ(rows.count(row), 6u) << row;
  EXPECT_EQ(rows.size(), 30u);
  EXPECT_FALSE(logHas("COLLIDED"));
}

TEST_F(DifficultyTest, CameraRisesByTheClimbSpeedEachStep) {
  step();
  EXPECT_EQ(boundary().getCorner(), Vector(0.0f, -0.075f));
  EXPECT_EQ(WorldManager::getInstance().getView(), boundary());
  EXPECT_EQ(boundary().getHorizontal(), 80.0f);
  EXPECT_EQ(boundary().getVertical(), 24.0f);
  // The background rises with the camera and keeps still on the screen.
  EXPECT_FLOAT_EQ(difficulty->getPosition().getY() - boundary().getCorner().getY(), 12.0f);
}

TEST_F(DifficultyTest, FiveHundredExactlyKeepsTheLevel) {
  checkLevel(500);
  EXPECT_EQ(difficulty->getLevel(), 5);
  EXPECT_EQ(levelShown(), 1);
  checkLevel(501);
  EXPECT_EQ(difficulty->getLevel(), 4);
  EXPECT_EQ(levelShown(), 2);
  EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), 0.15f);
  EXPECT_EQ(difficulty->getVelocity(), Vector(0.0f, -0.15f));
  EXPECT_EQ(difficulty->getAnimation().getName(), "background2");
}

TEST_F(DifficultyTest, LevelFourChecksAndSaysYupPastOneThousand) {
  difficulty->setLevel(4);
  checkLevel(1000);
  EXPECT_EQ(logCount("Checking!"), 1);
  EXPECT_FALSE(logHas("Yup"));
  checkLevel(1001);
  EXPECT_EQ(logCount("Checking!"), 2);
  EXPECT_TRUE(logHas("Yup"));
  EXPECT_EQ(difficulty->getLevel(), 3);
}

TEST_F(DifficultyTest, OneLevelPerCheckThroughAllFive) {
  const float speeds[] = {0.15f, 0.2f, 0.25f, 0.3f};
  const char* backgrounds[] = {"background2", "background3", "background4", "background5"};
  for (int i = 0; i < 4; ++i) {
    checkLevel(100000);
    EXPECT_EQ(difficulty->getLevel(), 4 - i);
    EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), speeds[i]);
    EXPECT_EQ(difficulty->getAnimation().getName(), backgrounds[i]);
  }
  checkLevel(100000);
  EXPECT_EQ(difficulty->getLevel(), 1);
  EXPECT_EQ(levelShown(), 5);
}

TEST_F(DifficultyTest, PlatformsTakeTheNewLookWhenRecycled) {
  checkLevel(501);
  auto* platform = first<Platform>("Platform");
  ASSERT_NE(platform, nullptr);
  EXPECT_TRUE(platform->getChangeSprite());
  EXPECT_EQ(platform->getLevel(), 4);
  EXPECT_EQ(platform->getAnimation().getName(), "platform5");
  platform->respawn(0);
  EXPECT_EQ(platform->getAnimation().getName(), "platform4");
  EXPECT_FALSE(platform->getChangeSprite());
  EXPECT_TRUE(logHas("CHANGING PLAT SPRITE"));
  EXPECT_TRUE(logHas("4"));
}

TEST_F(DifficultyTest, OutOfRangeLevelKeepsSpeedAndLook) {
  difficulty->setLevel(9);
  EXPECT_FLOAT_EQ(difficulty->getClimbSpeed(), 0.075f);
  EXPECT_EQ(difficulty->getAnimation().getName(), "background1");
  EXPECT_EQ(levelShown(), 2);
}

TEST_F(DifficultyTest, NoDifficultyNoLevelCheck) {
  WorldManager::getInstance().markForDelete(difficulty);
  step();
  checkLevel(100000);
  EXPECT_EQ(levelShown(), 1);
}

}  // namespace
}  // namespace tx::test
