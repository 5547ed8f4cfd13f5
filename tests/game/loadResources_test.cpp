#include <string>

#include "GameFixture.h"
#include "display/ResourceManager.h"
#include "display/Sprite.h"

namespace tx::test {
namespace {

using Resources = GameTest;

TEST_F(Resources, AllTwentyFourLoadWithoutAWarningOrError) {
  ResourceManager& rm = ResourceManager::getInstance();
  EXPECT_EQ(rm.getSpriteCount(), 19);
  EXPECT_EQ(rm.getSoundCount(), 3);
  EXPECT_EQ(rm.getMusicCount(), 2);
  for (const std::string& line : logMessages()) {
    EXPECT_EQ(line.find("Warning"), std::string::npos) << line;
    EXPECT_EQ(line.find("Error"), std::string::npos) << line;
    EXPECT_EQ(line.find("not loaded"), std::string::npos) << line;
  }
  for (const char* label : {"jump", "fall", "startup"}) EXPECT_NE(rm.getSound(label), nullptr);
  for (const char* label : {"game music", "menu music"}) EXPECT_NE(rm.getMusic(label), nullptr);
}

TEST_F(Resources, SpritesFitTheScreenAndTheLayout) {
  ResourceManager& rm = ResourceManager::getInstance();
  const int w = static_cast<int>(boundary().getHorizontal());
  const int h = static_cast<int>(boundary().getVertical());
  const char* labels[] = {"player", "playerj", "floor", "platform1", "platform2", "platform3",
                          "platform4", "platform5", "gameover", "gamestart", "background1",
                          "background2", "background3", "background4", "background5",
                          "powerup1", "powerup2", "powerup3", "powerup4"};
  for (const char* label : labels) {
    const Sprite* sprite = rm.getSprite(label);
    ASSERT_NE(sprite, nullptr) << label;
    // The floor reaches one column beyond each edge, so the player never walks off its end.
    EXPECT_LE(sprite->getWidth(), std::string(label) == "floor" ? w + 1 : w) << label;
    EXPECT_LE(sprite->getHeight(), h) << label;
    // Odd sizes keep every character on a whole cell around an integer position.
    EXPECT_EQ(sprite->getWidth() % 2, 1) << label;
    EXPECT_EQ(sprite->getHeight() % 2, 1) << label;
  }
  // Three rows tall: a ledge turns solid only once it lies below the player's feet, and the
  // player's jump clears the five rows between ledges.
  EXPECT_EQ(rm.getSprite("player")->getHeight(), 3);
  EXPECT_EQ(rm.getSprite("playerj")->getHeight(), 3);
  for (const char* label : {"platform1", "platform2", "platform3", "platform4", "platform5",
                            "powerup1", "powerup2", "powerup3", "powerup4", "floor"}) {
    EXPECT_EQ(rm.getSprite(label)->getHeight(), 1) << label;
  }
  // Scenery, not a wall: most of each background is transparent.
  for (const char* label : {"background1", "background2", "background3", "background4",
                            "background5"}) {
    const Sprite* sprite = rm.getSprite(label);
    const std::string text = sprite->getFrame(0).getString();
    int drawn = 0;
    for (char c : text) drawn += c != sprite->getTransparency();
    EXPECT_NE(sprite->getTransparency(), 0) << label;
    EXPECT_LT(drawn * 3, static_cast<int>(text.size())) << label;
  }
  EXPECT_GT(rm.getSprite("gameover")->getFrameCount(), 1);
}

TEST_F(Resources, PowerupsDifferInColourAndLook) {
  ResourceManager& rm = ResourceManager::getInstance();
  const char* labels[] = {"powerup1", "powerup2", "powerup3", "powerup4"};
  for (int i = 0; i < 4; ++i) {
    for (int j = i + 1; j < 4; ++j) {
      const Sprite* a = rm.getSprite(labels[i]);
      const Sprite* b = rm.getSprite(labels[j]);
      EXPECT_NE(a->getColor(), b->getColor()) << labels[i] << " " << labels[j];
      EXPECT_NE(a->getFrame(0).getString(), b->getFrame(0).getString());
    }
  }
}

TEST_F(Resources, TitleNamesTheGameAndItsKeys) {
  const Sprite* title = ResourceManager::getInstance().getSprite("gamestart");
  ASSERT_NE(title, nullptr);
  for (int i = 0; i < title->getFrameCount(); ++i) {
    const std::string text = title->getFrame(i).getString();
    EXPECT_NE(text.find("press``P``to`play"), std::string::npos);
    EXPECT_NE(text.find("press``Q``to`quit"), std::string::npos);
  }
}

}  // namespace
}  // namespace tx::test
