#include "tolvex/display/CellGrid.h"

#include <cmath>
#include <tuple>

#include "DisplayFixture.h"
#include "tolvex/display/Frame.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {
namespace {

using CellGridTest = DisplayTest;

TEST(CellGrid, CharacterLandsInTheNearestCellHalvesGoingRightAndDown) {
  CellGrid grid(10, 5, sf::Color::Black);
  const std::tuple<float, float, char> drawn[] = {
      {2.4f, 1.0f, 'a'},  {2.5f, 1.5f, 'b'},         {-0.5f, 0.49f, 'c'}, {9.49f, 4.4f, 'd'},
      {-0.6f, 3.0f, 'x'}, {9.5f, 3.0f, 'x'},         {3.0f, 4.5f, 'x'},   {3.0f, -0.51f, 'x'},
      {1e30f, 1.0f, 'x'}, {std::nanf(""), 1.0f, 'x'}};
  for (const auto& [x, y, ch] : drawn) grid.draw(Vector(x, y), ch, sf::Color::Red);
  EXPECT_EQ(grid.toText(),
            "c         \n"
            "  a       \n"
            "   b      \n"
            "          \n"
            "         d\n");
  grid.draw(Vector(2.0f, 1.0f), 'e', sf::Color::Green);
  EXPECT_EQ(grid.at(2, 1), (Cell{'e', sf::Color::Green, sf::Color::Black})) << "later replaces";
  grid.clear();
  EXPECT_EQ(grid, CellGrid(10, 5, sf::Color::Black));
}

// The same calls fill the same cells in a window and headless, relative to the view.
TEST_F(CellGridTest, DrawingCallsFillTheCellsInEveryModeAndTheSwapCompletesThem) {
  std::string text[2];
  DisplayManager& display = DisplayManager::getInstance();
  for (const bool headless : {false, true}) {
    SCOPED_TRACE(headless ? "headless" : "window");
    display.shutDown();
    startDisplay(headless ? "headless:true," : "headless:false,");
    WorldManager::getInstance().setView(Box(Vector(10.0f, 3.0f), 80.0f, 24.0f));
    EXPECT_EQ(Frame(4, 2, "abcdefgh").draw(Vector(20.0f, 8.0f), GREEN), 0);
    EXPECT_EQ(display.drawText(Vector(50.0f, 3.0f), "Level 1", ALIGN_CENTER, YELLOW), 0);
    EXPECT_EQ(display.getCells(), CellGrid(80, 24, sf::Color::Black)) << "none before the swap";
    display.swapBuffers();
    const CellGrid& cells = display.getCells();
    // Columns 8.5 to 11.5 and rows 4.5 and 5.5 of the view: halves go right and down.
    EXPECT_EQ(cells.at(9, 5), (Cell{'a', sf::Color::Green, sf::Color::Black}));
    EXPECT_EQ(cells.at(12, 6).ch, 'h');
    EXPECT_EQ(cells.at(37, 0), (Cell{'L', sf::Color::Yellow, sf::Color::Black}));
    text[headless ? 1 : 0] = display.toText();
    display.swapBuffers();
    EXPECT_EQ(display.getCells(), CellGrid(80, 24, sf::Color::Black)) << "a frame with nothing";
  }
  EXPECT_EQ(text[0], text[1]);
}

}  // namespace
}  // namespace tx::test
