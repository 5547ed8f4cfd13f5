#include "display/Frame.h"

#include "DisplayFixture.h"

namespace tx::test {
namespace {

using FrameTest = DisplayTest;

void drawChar(float x, float y, char ch) {
  DisplayManager::getInstance().drawCharacter(Vector(x, y), ch, GREEN);
}

TEST_F(FrameTest, FramesAreCentredForOddAndEvenSizesAndSkipTransparentCells) {
  startDisplay();
  EXPECT_EQ(differingPixels(
                capture([] { EXPECT_EQ(Frame(3, 1, "abc").draw(Vector(10.0f, 5.0f), GREEN), 0); }),
                capture([] {
                  drawChar(9.0f, 5.0f, 'a');
                  drawChar(10.0f, 5.0f, 'b');
                  drawChar(11.0f, 5.0f, 'c');
                })),
            0)
      << "odd: centred on its middle cell";
  const sf::Image even = capture([] { Frame(4, 2, "abcdefgh").draw(Vector(10.0f, 5.0f), GREEN); });
  EXPECT_GT(countInk(even), 0);
  EXPECT_EQ(differingPixels(even, capture([] {
                              for (int i = 0; i < 8; i++)
                                drawChar(8.5f + static_cast<float>(i % 4),
                                         4.5f + static_cast<float>(i / 4), "abcdefgh"[i]);
                            })),
            0)
      << "even: straddles the position by half cells";
  EXPECT_EQ(
      differingPixels(capture([] { Frame(5, 1, "#a#b#").draw(Vector(10.0f, 5.0f), GREEN, '#'); },
                              sf::Color::Blue),
                      capture(
                          [] {
                            drawChar(9.0f, 5.0f, 'a');
                            drawChar(11.0f, 5.0f, 'b');
                          },
                          sf::Color::Blue)),
      0)
      << "transparent characters leave their cells untouched";
  EXPECT_EQ(differingPixels(capture([] { Frame(3, 2, "ab").draw(Vector(10.0f, 5.0f), GREEN); }),
                            capture([] {
                              drawChar(9.0f, 4.5f, 'a');
                              drawChar(10.0f, 4.5f, 'b');
                            })),
            0)
      << "no further than its text";
  EXPECT_EQ(countInk(capture([] { Frame().draw(Vector(10.0f, 5.0f), GREEN); })), 0);
}

}  // namespace
}  // namespace tx::test
