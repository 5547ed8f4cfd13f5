#include "tolvex/display/ViewObject.h"

#include <sstream>

#include "DisplayFixture.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {
namespace {

using ViewObjectTest = DisplayTest;

// The rows of the screen once the world is drawn.
std::vector<std::string> shown() {
  WorldManager::getInstance().draw();
  DisplayManager::getInstance().swapBuffers();
  std::vector<std::string> rows;
  std::istringstream text(DisplayManager::getInstance().toText());
  for (std::string row; std::getline(text, row);) rows.push_back(row);
  return rows;
}

// Text and value are drawn centred on the view location in their colour, framed by dashes and
// bars one cell beyond each end (nothing further) unless the border is off.
TEST_F(ViewObjectTest, TextValueAndFrameAreDrawnAroundTheLocationInTheView) {
  startDisplay("headless:true,");
  ASSERT_EQ(WorldManager::getInstance().startUp(), 0);
  WorldManager::getInstance().setBoundary(Box(Vector(0.0f, 0.0f), 80.0f, 100.0f));
  WorldManager::getInstance().setView(Box(Vector(0.0f, 0.0f), 80.0f, 24.0f));
  ViewObject* view = new ViewObject;
  view->setViewString("Level"), view->setValue(3), view->setColor(YELLOW);
  view->setLocation(CENTER_CENTER);
  const std::vector<std::string> rows = shown();
  const std::string dashes = std::string(36, ' ') + "---------" + std::string(35, ' ');
  EXPECT_EQ(rows.at(11), dashes);
  EXPECT_EQ(rows.at(12), std::string(35, ' ') + "| Level 3 |" + std::string(34, ' '));
  EXPECT_EQ(rows.at(13), dashes);
  EXPECT_EQ(rows.at(10) + rows.at(14), std::string(160, ' '));
  EXPECT_EQ(DisplayManager::getInstance().getCells().at(38, 12).foreground, sf::Color::Yellow);
  view->setDrawValue(false), view->setBorder(false);
  WorldManager::getInstance().setView(Box(Vector(0.0f, 60.0f), 80.0f, 24.0f));
  view->setLocation(BOTTOM_RIGHT);
  EXPECT_EQ(shown().at(23), std::string(65, ' ') + "Level" + std::string(10, ' '));
  WorldManager::getInstance().shutDown();
}

}  // namespace
}  // namespace tx::test
