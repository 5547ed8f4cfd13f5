#include "tolvex/display/ViewObject.h"

#include "DisplayFixture.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {
namespace {

// A display on an 80 x 24 view, with the world manager for the view and event delivery.
class ViewObjectTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    startDisplay();
    ASSERT_EQ(WorldManager::getInstance().startUp(), 0);
    WorldManager::getInstance().setBoundary(Box(Vector(0.0f, 0.0f), 80.0f, 100.0f));
    WorldManager::getInstance().setView(Box(Vector(0.0f, 0.0f), 80.0f, 24.0f));
  }
  void TearDown() override {
    WorldManager::getInstance().shutDown();
    DisplayTest::TearDown();
  }

  // Pixels in which the world as drawn differs from a label centred on (x, y) of the world,
  // with dashes above and below it and a bar one cell beyond each end when framed.
  static int differsFromLabel(float x, float y, const std::string& text, Color color,
                              bool framed = true) {
    DisplayManager& display = DisplayManager::getInstance();
    const float left = x - static_cast<float>(text.size() / 2);
    const std::string dashes(text.size(), '-');
    return differingPixels(capture([] { WorldManager::getInstance().draw(); }), capture([&] {
                             display.drawText(Vector(x, y), text, ALIGN_CENTER, color);
                             if (!framed) return;
                             display.drawText(Vector(x, y - 1.0f), dashes, ALIGN_CENTER, color);
                             display.drawText(Vector(x, y + 1.0f), dashes, ALIGN_CENTER, color);
                             display.drawCharacter(Vector(left - 1.0f, y), '|', color);
                             display.drawCharacter(
                                 Vector(left + static_cast<float>(text.size()), y), '|', color);
                           }));
  }
};

// The text and the value are drawn centred on the location, framed by dashes and bars one cell
// beyond each end (nothing further) unless the border is off; the location is in the view.
TEST_F(ViewObjectTest, TextValueAndFrameAreDrawnAroundTheLocationInTheView) {
  ViewObject* view = new ViewObject;
  view->setViewString("Level");
  view->setValue(3);
  view->setColor(YELLOW);
  view->setLocation(CENTER_CENTER);
  EXPECT_EQ(differsFromLabel(40.0f, 12.0f, " Level 3 ", YELLOW), 0);
  // " Level 3 " is nine cells, 36 to 44; the bars stand at 35 and 45, nothing beyond them.
  const sf::Image drawn = capture([] { WorldManager::getInstance().draw(); });
  const auto ink = [&](int column, int row) {
    return inkInCell(drawn, column, row, sf::Color::Yellow, 0);
  };
  EXPECT_GT(ink(36, 11) * ink(44, 13) * ink(35, 12) * ink(45, 12), 0);
  EXPECT_EQ(ink(33, 12) + ink(36, 12) + ink(47, 12) + ink(40, 10) + ink(40, 14), 0);
  view->setDrawValue(false);
  view->setBorder(false);
  WorldManager::getInstance().setView(Box(Vector(0.0f, 60.0f), 80.0f, 24.0f));
  view->setLocation(BOTTOM_RIGHT);
  EXPECT_EQ(view->getPosition(), Vector(80.0f * 5 / 6, 23.0f));
  EXPECT_EQ(differsFromLabel(80.0f * 5 / 6, 83.0f, "Level", YELLOW, false), 0);
}

}  // namespace
}  // namespace tx::test
