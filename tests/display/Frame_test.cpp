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
      {"an empty frame draws nothing", Frame(), 0, {}},
  };
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

}  // namespace
}  // namespace tx::test
