#include "tolvex/display/Frame.h"

#include "DisplayFixture.h"

namespace tx::test {
namespace {

using FrameTest = DisplayTest;

// Drawn at (10, 5), each frame shows the same pixels as its characters drawn one by one.
TEST_F(FrameTest, FramesAreCentredOnTheirPositionAndSkipTransparentCells) {
  startDisplay();
  struct Cell {
    float x, y;
    char ch;
  };
  const struct {
    const char* rule;
    Frame frame;
    char transparency;
    std::vector<Cell> cells;
  } cases[] = {
      {"odd width: centred on its middle cell",
       Frame(3, 1, "abc"),
       0,
       {{9, 5, 'a'}, {10, 5, 'b'}, {11, 5, 'c'}}},
      {"even sizes: straddling the position by half cells",
       Frame(2, 2, "abcd"),
       0,
       {{9.5f, 4.5f, 'a'}, {10.5f, 4.5f, 'b'}, {9.5f, 5.5f, 'c'}, {10.5f, 5.5f, 'd'}}},
      {"transparent characters leave their cells untouched",
       Frame(5, 1, "#a#b#"),
       '#',
       {{9, 5, 'a'}, {11, 5, 'b'}}},
      {"no further than its text", Frame(3, 2, "ab"), 0, {{9, 4.5f, 'a'}, {10, 4.5f, 'b'}}},
      {"an empty frame draws nothing", Frame(), 0, {}}};
  for (const auto& c : cases) {
    const sf::Image drawn =
        capture([&] { c.frame.draw(Vector(10.0f, 5.0f), GREEN, c.transparency); }, sf::Color::Blue);
    const sf::Image expected = capture(
        [&] {
          for (const Cell& cell : c.cells)
            DisplayManager::getInstance().drawCharacter(Vector(cell.x, cell.y), cell.ch, GREEN);
        },
        sf::Color::Blue);
    EXPECT_EQ(differingPixels(drawn, expected), 0) << c.rule;
  }
}

// A frame far larger than the window (60001 x 41 cells) costs what the window shows, wherever
// it lies, and what shows is right.
TEST_F(FrameTest, HugeFramesDrawOnlyWhatTheWindowShows) {
  startDisplay("headless:true,");
  DisplayManager& display = DisplayManager::getInstance();
  const int width = 60001;
  const int height = 41;
  std::string text;
  for (int i = 0; i < width * height; i++) text += static_cast<char>('a' + i % width % 26);
  const Frame frame(width, height, text);
  const int most = (display.getHorizontalCells() + 4) * (display.getVerticalCells() + 4);
  for (float x : {30000.0f, 0.0f, -29995.0f, 1e9f, -1e9f}) {
    ASSERT_EQ(frame.draw(Vector(x, 20.0f), RED, 0), 0);
    EXPECT_LE(display.getDrawnCharacterCount(), most) << "frame centred at " << x;
    display.swapBuffers();
  }
  // Centred at (30000, 20), column c of the frame lands on column c of the window.
  frame.draw(Vector(30000.0f, 20.0f), RED, 0);
  display.swapBuffers();
  std::string first_row;
  for (int c = 0; c < display.getHorizontalCells(); c++)
    first_row += static_cast<char>('a' + c % 26);
  EXPECT_EQ(display.toText().substr(0, first_row.size()), first_row);
}

}  // namespace
}  // namespace tx::test
