#include "tolvex/display/FrameComposer.h"

#include <tuple>

#include "DisplayFixture.h"

namespace tx::test {
namespace {

// A composer of its own on the display's window, to compare with drawPlainly's.
class FrameComposerTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    startDisplay();
    window = DisplayManager::getInstance().getWindow();
    rectangle.setSize(sf::Vector2f(cellWidth(), cellHeight()));
    rectangle.setFillColor(sf::Color::Black), text.setCharacterSize(25);
    text.setFont(DisplayManager::getInstance().getFont()), text.setStyle(sf::Text::Bold);
    composer = FrameComposer::make(text, rectangle, window->getSize());
    ASSERT_NE(composer, nullptr);
  }
  void TearDown() override {
    composer.reset();
    DisplayTest::TearDown();
  }

  // A new frame of the characters, as the window holds it once composed.
  sf::Image composed(const std::vector<CellDrawing>& frame) {
    composer->frameShown();
    for (const CellDrawing& drawing : frame) composer->add(drawing);
    composer->present(*window);
    return windowImage();
  }
  sf::RenderWindow* window = nullptr;
  sf::RectangleShape rectangle;
  sf::Text text;
  std::unique_ptr<FrameComposer> composer;
};

// A full screen of characters in cells of 12.8 x 32 pixels, those past the edges included.
std::vector<CellDrawing> fullScreen(int shift) {
  const sf::Color colors[] = {sf::Color::Red,  sf::Color::Green,   sf::Color::Yellow,
                              sf::Color::Blue, sf::Color::Magenta, sf::Color::White};
  std::vector<CellDrawing> frame;
  for (int row = -1; row <= 24; row++)
    for (int column = -1; column <= 80; column++)
      frame.push_back(
          {sf::Vector2f(static_cast<float>(column) * 12.8f, static_cast<float>(row) * 32.0f),
           static_cast<char>('!' + ((row + 1) * 7 + column + 1 + shift) % 94),
           colors[(row + column + shift + 12) % 6]});
  return frame;
}

TEST_F(FrameComposerTest, FramesMatchPlainDrawingAndRedrawOnlyWhatChanged) {
  const std::vector<CellDrawing> screen = fullScreen(0);
  std::vector<CellDrawing> moved = screen;
  // A sprite of three characters moves by half a cell, one changes colour, one goes.
  for (int i = 0; i < 3; i++) moved[500 + i].position += sf::Vector2f(6.4f, 16.0f);
  moved[900].color = sf::Color::Cyan;
  moved.erase(moved.begin() + 1200);
  // Each frame, whether it comes from the texture, and how many of the 32 x 24 tiles it redraws.
  const std::tuple<const char*, std::vector<CellDrawing>, bool, int> frames[] = {
      {"first", screen, false, 0},
      {"the same", screen, true, 768},  // the texture learns it
      {"the same again", screen, true, 0},
      {"a few changes", moved, true, 24},
      {"every cell changed", fullScreen(1), false, 0},
      // Judged against the frame before, which changed everywhere.
      {"the changes again", moved, false, 0},
      {"back to the start", screen, true, 24},
      {"a few characters", {screen[100], screen[101]}, false, 0}};
  for (const auto& [name, frame, was_composed, most_tiles] : frames) {
    SCOPED_TRACE(name);
    const sf::Image result = composed(frame);
    EXPECT_EQ(composer->wasComposed(), was_composed);
    EXPECT_LE(was_composed ? composer->getRedrawnTiles() : 0, most_tiles);
    // Glyphs cut at a tile's edge may shade an edge texel one level apart.
    EXPECT_EQ(
        differingPixels(result, capture([&f = frame] { drawPlainly(f, sf::Color::Black); }), 1), 0);
  }
}

TEST_F(FrameComposerTest, LaterPresentsOfAFrameDrawOverWhatTheWindowHolds) {
  const std::vector<CellDrawing> screen = fullScreen(0);
  composed(screen);
  composed(screen);
  ASSERT_TRUE(composer->wasComposed());
  // The window handed out mid-frame: a rectangle drawn, then characters over part of it.
  sf::RectangleShape block(sf::Vector2f(200.0f, 100.0f));
  block.setPosition(100.0f, 100.0f);
  block.setFillColor(sf::Color(200, 120, 40));
  window->draw(block);
  composer->add(screen[300]);
  composer->add(screen[301]);
  composer->present(*window);
  const sf::Image result = windowImage();
  const sf::Image expected = capture([&] {
    drawPlainly(screen, sf::Color::Black), window->draw(block);
    drawPlainly({screen[300], screen[301]}, sf::Color::Black);
  });
  EXPECT_EQ(differingPixels(result, expected, 1), 0);
}

}  // namespace
}  // namespace tx::test
