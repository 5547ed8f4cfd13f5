#include <SFML/Graphics.hpp>
#include <filesystem>
#include <string>

#include "Difficulty.h"
#include "GameFixture.h"
#include "Platform.h"
#include "Powerup.h"
#include "display/DisplayManager.h"
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

namespace tx::test {
namespace {

// The game's pictures drawn in a real window, one picture per level, saved under the build
// directory's test artefacts for a person to look at.
class Looks : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    std::srand(7);
    loadResources();
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    EngineTest::TearDown();
  }

  // Draws the world into the back buffer and returns it.
  static sf::Image drawWorld() {
    WorldManager::getInstance().draw();
    sf::RenderWindow& window = *DisplayManager::getInstance().getWindow();
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    sf::Image image = texture.copyToImage();
    DisplayManager::getInstance().swapBuffers();
    return image;
  }

  static int countColor(const sf::Image& image, sf::Color color) {
    int count = 0;
    for (unsigned y = 0; y < image.getSize().y; ++y)
      for (unsigned x = 0; x < image.getSize().x; ++x) count += image.getPixel(x, y) == color;
    return count;
  }
};

TEST_F(Looks, EveryLevelShowsItsSkyLedgesAndPowerups) {
  const std::filesystem::path artifacts =
      std::filesystem::path(TOLVEX_GAME_BINARY).parent_path() / "test-artifacts" / "game";
  std::filesystem::create_directories(artifacts);
  GameStart* title = new GameStart();
  sf::Image image = drawWorld();
  image.saveToFile((artifacts / "title.png").string());
  EXPECT_GT(countColor(image, sf::Color::Yellow), 1000);

  title->start();
  ObjectList found = WorldManager::getInstance().objectsOfType("Difficulty");
  auto* difficulty = dynamic_cast<Difficulty*>(ObjectListIterator(&found).currentObject());
  ASSERT_NE(difficulty, nullptr);
  // The four power-ups in a row above the player.
  for (int i = 0; i < 400; ++i) {
    auto* powerup = new Powerup(10.0f + 20.0f * static_cast<float>(i % 4), 4.0f);
    if (powerup->getKind() != i % 4 + 1) WorldManager::getInstance().markForDelete(powerup);
  }
  const sf::Color background_colors[] = {sf::Color::Blue, sf::Color::Cyan, sf::Color::Magenta,
                                         sf::Color::Green, sf::Color::Yellow};
  for (int level = 5; level >= 1; --level) {
    if (level < 5) difficulty->setLevel(level);
    ObjectList platforms = WorldManager::getInstance().objectsOfType("Platform");
    for (ObjectListIterator it(&platforms); !it.isDone(); it.next()) {
      auto* platform = dynamic_cast<Platform*>(it.currentObject());
      const float y = platform->getPosition().getY();
      if (level < 5) platform->respawn(static_cast<int>(y));
    }
    WorldManager::getInstance().update();
    image = drawWorld();
    image.saveToFile((artifacts / ("level" + std::to_string(6 - level) + ".png")).string());
    EXPECT_GT(countColor(image, background_colors[5 - level]), 200) << level;
    EXPECT_GT(countColor(image, sf::Color::White), 50) << level;
  }
}

}  // namespace
}  // namespace tx::test
