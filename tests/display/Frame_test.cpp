#include "tolvex/display/Frame.h"

#include "DisplayFixture.h"

namespace tx::test {
namespace {

using FrameTest = DisplayTest;

// Drawn at (10, 5), each frame shows the same pixels as its characters drawn one by one.
TEST_F(FrameTest, FramesAreCentredOnTheirPositionAndSkipTransparentCells) {
  startDisplay();
  // Each case's frame, and the characters it shows row by row from (x, y) on, ' ' for none.
  const struct {
    const char* rule;
    Frame frame;
    char transparency;
    float x, y;
    const char* shown;
  } cases[] = {{"odd: centred", Frame(3, 1, "abc"), 0, 9, 5, "abc"},
               {"even: straddling it", Frame(2, 2, "abcd"), 0, 9.5f, 4.5f, "ab\ncd"},
               {"transparent cells", Frame(5, 1, "#a#b#"), '#', 8, 5, " a b"},
               {"no further than its text", Frame(3, 2, "ab"), 0, 9, 4.5f, "ab"},
               {"empty", Frame(), 0, 0, 0, ""}};
  for (const auto& c : cases) {
    const sf::Image drawn =
        capture([&] { c.frame.draw(Vector(10.0f, 5.0f), GREEN, c.transparency); }, sf::Color::Blue);
    const sf::Image expected = capture(
        [&] {
          Vector at(c.x, c.y);
          for (const char* ch = c.shown; *ch != 0; ch++, at.setX(at.getX() + 1.0f))
            if (*ch == '\n')
              at = Vector(c.x - 1.0f, at.getY() + 1.0f);
            else if (*ch != ' ')
              DisplayManager::getInstance().drawCharacter(at, *ch, GREEN);
        },
        sf::Color::Blue);
    EXPECT_EQ(differingPixels(drawn, expected), 0) << c.rule;
  }
}

// A frame far larger than the window costs what the window shows, wherever it lies.
TEST_F(FrameTest, HugeFramesDrawOnlyWhatTheWindowShows) {
  startDisplay("headless:true,");
  DisplayManager& display = DisplayManager::getInstance();
  const int width = 60001, height = 41;
  std::string text;
  for (int i = 0; i < width * height; i++) text += static_cast<char>('a' + i % width % 26);
  const Frame frame(width, height, text);
  const int most = (display.getHorizontalCells() + 4) * (display.getVerticalCells() + 4);
  for (float x : {0.0f, -29995.0f, 1e9f, -1e9f, 30000.0f}) {
    ASSERT_EQ(frame.draw(Vector(x, 20.0f), RED, 0), 0);
    EXPECT_LE(display.getDrawnCharacterCount(), most) << "frame centred at " << x;
    display.swapBuffers();
  }
  // Centred at (30000, 20), column c of the frame lands on column c of the window.
  std::string first_row;
  for (int c = 0; c < display.getHorizontalCells(); c++)
    first_row += static_cast<char>('a' + c % 26);
  EXPECT_EQ(display.toText().substr(0, first_row.size()), first_row);
}

}  // namespace
}  // namespace tx::test
