#include "display/Sprite.h"

#include <functional>

#include "DisplayFixture.h"
#include "display/Frame.h"

namespace tx::test {
namespace {

class SpriteTest : public DisplayTest {
 protected:
  // The window after clearing it and running one drawing.
  sf::Image imageOf(const std::function<void()>& draw, sf::Color clear = sf::Color::Black) {
    DisplayManager::getInstance().getWindow()->clear(clear);
    draw();
    return drawnImage();
  }

  static void drawChar(float x, float y, char ch) {
    DisplayManager::getInstance().drawCharacter(Vector(x, y), ch, GREEN);
  }

  static bool sameImage(const sf::Image& a, const sf::Image& b) {
    if (a.getSize() != b.getSize()) return false;
    const std::size_t bytes = static_cast<std::size_t>(a.getSize().x) * a.getSize().y * 4;
    return std::equal(a.getPixelsPtr(), a.getPixelsPtr() + bytes, b.getPixelsPtr());
  }
};

TEST_F(SpriteTest, OddFrameIsCentredOnItsMiddleCell) {
  startDisplay();
  const Frame frame(3, 1, "abc");
  int result = -1;
  const sf::Image drawn = imageOf([&] { result = frame.draw(Vector(10.0f, 5.0f), GREEN); });
  const sf::Image expected = imageOf([] {
    drawChar(9.0f, 5.0f, 'a');
    drawChar(10.0f, 5.0f, 'b');
    drawChar(11.0f, 5.0f, 'c');
  });
  EXPECT_EQ(result, 0);
  EXPECT_GT(countInk(drawn), 0);
  EXPECT_TRUE(sameImage(drawn, expected));
}

TEST_F(SpriteTest, EvenFrameStraddlesThePositionByHalfCells) {
  startDisplay();
  const Frame frame(4, 2, "abcdefgh");
  const sf::Image drawn = imageOf([&] { frame.draw(Vector(10.0f, 5.0f), GREEN); });
  const sf::Image expected = imageOf([] {
    const char* chars = "abcdefgh";
    for (int y = 0; y < 2; y++)
      for (int x = 0; x < 4; x++)
        drawChar(8.5f + static_cast<float>(x), 4.5f + static_cast<float>(y), chars[y * 4 + x]);
  });
  EXPECT_GT(countInk(drawn), 0);
  EXPECT_TRUE(sameImage(drawn, expected));
}

TEST_F(SpriteTest, TransparentCharactersLeaveTheirCellsUntouched) {
  startDisplay();
  const Frame frame(5, 1, "#a#b#");
  const sf::Image drawn =
      imageOf([&] { frame.draw(Vector(10.0f, 5.0f), GREEN, '#'); }, sf::Color::Blue);
  const sf::Image expected = imageOf(
      [] {
        drawChar(9.0f, 5.0f, 'a');
        drawChar(11.0f, 5.0f, 'b');
      },
      sf::Color::Blue);
  EXPECT_TRUE(sameImage(drawn, expected));
}

TEST_F(SpriteTest, FrameDrawsNoFurtherThanItsText) {
  startDisplay();
  const Frame short_frame(3, 2, "ab");
  int result = -1;
  const sf::Image drawn = imageOf([&] { result = short_frame.draw(Vector(10.0f, 5.0f), GREEN); });
  const sf::Image expected = imageOf([] {
    drawChar(9.0f, 4.5f, 'a');
    drawChar(10.0f, 4.5f, 'b');
  });
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(sameImage(drawn, expected));
  EXPECT_EQ(countInk(imageOf([] { Frame().draw(Vector(10.0f, 5.0f), GREEN); })), 0);
}

TEST_F(SpriteTest, FrameStopsAtTheFirstCharacterThatCannotBeDrawn) {
  startLog();
  EXPECT_EQ(Frame(3, 1, "abc").draw(Vector(10.0f, 5.0f), GREEN), -1);
  EXPECT_EQ(logCount("DisplayManager not started!"), 1);
}

TEST_F(SpriteTest, SpriteHoldsAtMostItsFrames) {
  Sprite sprite(2);
  EXPECT_EQ(sprite.addFrame(Frame(1, 1, "a")), 0);
  EXPECT_EQ(sprite.addFrame(Frame(1, 1, "b")), 0);
  EXPECT_EQ(sprite.addFrame(Frame(1, 1, "c")), -1);
  EXPECT_EQ(sprite.getFrameCount(), 2);
  EXPECT_EQ(sprite.getFrame(1).getString(), "b");
  EXPECT_EQ(sprite.getFrame(2).getString(), "");
  EXPECT_EQ(sprite.getFrame(-1).getWidth(), 0);
}

TEST_F(SpriteTest, NegativeFrameCountLeavesNoRoom) {
  startLog();
  Sprite sprite(-3);
  EXPECT_TRUE(logHas("Sprite::Sprite(): Error! Unable to allocate -3 frames."));
  EXPECT_EQ(sprite.getMaxFrames(), 0);
  EXPECT_EQ(sprite.addFrame(Frame(1, 1, "a")), -1);
}

TEST_F(SpriteTest, SpriteDrawsInItsColourAndNothingOutOfRange) {
  startDisplay();
  Sprite sprite(1);
  sprite.setColor(RED);
  sprite.addFrame(Frame(1, 1, "#"));
  const sf::Image drawn = imageOf([&] { EXPECT_EQ(sprite.draw(0, Vector(5.0f, 2.0f)), 0); });
  EXPECT_GT(countColor(drawn, 0, 0, 1024, 768, sf::Color::Red), 20);
  EXPECT_EQ(countInk(imageOf([&] { EXPECT_EQ(sprite.draw(1, Vector(5.0f, 2.0f)), 0); })), 0);
}

}  // namespace
}  // namespace tx::test
