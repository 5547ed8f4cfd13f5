#include "display/ViewObject.h"

#include <functional>
#include <string>

#include "DisplayFixture.h"
#include "display/EventView.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

constexpr float CELL_W = 12.8f;
constexpr float CELL_H = 32.0f;

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

  // What one drawing pass leaves on a cleared window.
  static sf::Image capture(const std::function<void()>& draw) {
    DisplayManager::getInstance().getWindow()->clear(sf::Color::Black);
    draw();
    return drawnImage();
  }

  // Pixels of exactly this colour in the cell at (column, row) of the window.
  static int inkInCell(const sf::Image& image, int column, int row, sf::Color color) {
    const int x = static_cast<int>(static_cast<float>(column) * CELL_W);
    const int y = static_cast<int>(static_cast<float>(row) * CELL_H);
    return countColor(image, x, y, x + 13, y + 32, color);
  }

  static int differingPixels(const sf::Image& a, const sf::Image& b) {
    int count = 0;
    for (unsigned y = 0; y < a.getSize().y; y++)
      for (unsigned x = 0; x < a.getSize().x; x++)
        if (a.getPixel(x, y) != b.getPixel(x, y)) count++;
    return count;
  }

  // The screen a label with its frame should give: the text centred on (x, y) of the window,
  // dashes above and below it and a bar one cell beyond each end.
  static sf::Image expectedFramed(float x, float y, const std::string& text, Color color) {
    const DisplayManager& display = DisplayManager::getInstance();
    const float left = x - static_cast<float>(text.size() / 2);
    return capture([&] {
      display.drawText(Vector(x, y), text, ALIGN_CENTER, color);
      display.drawText(Vector(x, y - 1.0f), std::string(text.size(), '-'), ALIGN_CENTER, color);
      display.drawText(Vector(x, y + 1.0f), std::string(text.size(), '-'), ALIGN_CENTER, color);
      display.drawCharacter(Vector(left - 1.0f, y), '|', color);
      display.drawCharacter(Vector(left + static_cast<float>(text.size()), y), '|', color);
    });
  }

  static WorldManager& world() { return WorldManager::getInstance(); }
};

TEST_F(ViewObjectTest, NewViewObjectSitsAtTopCentreOnTopOfTheWorld) {
  ViewObject* view = new ViewObject;
  EXPECT_EQ(view->getPosition(), Vector(40.0f, 1.0f));
  EXPECT_EQ(view->getLocation(), TOP_CENTER);
  EXPECT_EQ(view->getType(), "ViewObject");
  EXPECT_EQ(view->getSolidness(), SPECTRAL);
  EXPECT_EQ(view->getAltitude(), MAX_ALTITUDE);
  EXPECT_TRUE(view->getBorder());
  EXPECT_TRUE(view->getDrawValue());
  EXPECT_EQ(view->getColor(), WHITE);
}

TEST_F(ViewObjectTest, NineLocationsWithAndWithoutBorder) {
  const float w = 80.0f;
  const float h = 24.0f;
  const Vector framed[9] = {{w / 6, 1},       {w * 3 / 6, 1},       {w * 5 / 6, 1},
                            {w / 6, h * 0.5f}, {w * 0.5f, h * 0.5f}, {w * 5 / 6, h * 0.5f},
                            {w / 6, h - 2},    {w * 3 / 6, h - 2},    {w * 5 / 6, h - 2}};
  ViewObject* view = new ViewObject;
  for (int loc = TOP_LEFT; loc <= BOTTOM_RIGHT; loc++) {
    view->setLocation(loc);
    EXPECT_EQ(view->getPosition(), framed[loc]) << loc;
    EXPECT_EQ(view->getLocation(), loc);
  }
  view->setBorder(false);
  EXPECT_EQ(view->getPosition(), Vector(w * 5 / 6, h - 1));
  for (int loc = TOP_LEFT; loc <= BOTTOM_RIGHT; loc++) {
    view->setLocation(loc);
    const float y = loc <= TOP_RIGHT ? 0.0f : loc <= CENTER_RIGHT ? h * 0.5f - 1.0f : h - 1.0f;
    EXPECT_EQ(view->getPosition(), Vector(framed[loc].getX(), y)) << loc;
  }
}

TEST_F(ViewObjectTest, LocationOutOfRangeIsRefusedAndPositionForgetsTheLocation) {
  ViewObject* view = new ViewObject;
  view->setLocation(BOTTOM_RIGHT);
  view->setLocation(9);
  EXPECT_TRUE(logHas("ViewObject::setLocation(): Warning! Location out of range (9). Ignored."));
  view->setLocation(-1);
  EXPECT_EQ(view->getLocation(), BOTTOM_RIGHT);
  EXPECT_EQ(view->getPosition(), Vector(80.0f * 5 / 6, 22.0f));
  view->setPosition(Vector(3.0f, 4.0f));
  EXPECT_EQ(view->getLocation(), -1);
  // Without a location the border no longer moves it.
  view->setBorder(false);
  EXPECT_EQ(view->getPosition(), Vector(3.0f, 4.0f));
}

TEST_F(ViewObjectTest, LabelValueAndFrameAreDrawnAroundTheLocation) {
  ViewObject* view = new ViewObject;
  view->setViewString("Level");
  view->setValue(3);
  view->setColor(YELLOW);
  view->setLocation(CENTER_CENTER);
  const sf::Image drawn = capture([&] { world().draw(); });
  EXPECT_EQ(differingPixels(drawn, expectedFramed(40.0f, 12.0f, " Level 3 ", YELLOW)), 0);
  // " Level 3 " is nine cells, 36 to 44; the bars stand at 35 and 45, nothing beyond them.
  for (int column = 36; column <= 44; column++) {
    EXPECT_GT(inkInCell(drawn, column, 11, sf::Color::Yellow), 0) << column;
    EXPECT_GT(inkInCell(drawn, column, 13, sf::Color::Yellow), 0) << column;
  }
  EXPECT_GT(inkInCell(drawn, 35, 12, sf::Color::Yellow), 0);
  EXPECT_GT(inkInCell(drawn, 45, 12, sf::Color::Yellow), 0);
  EXPECT_EQ(inkInCell(drawn, 36, 12, sf::Color::Yellow), 0);
  EXPECT_EQ(inkInCell(drawn, 33, 12, sf::Color::Yellow), 0);
  EXPECT_EQ(inkInCell(drawn, 47, 12, sf::Color::Yellow), 0);
  EXPECT_EQ(inkInCell(drawn, 40, 10, sf::Color::Yellow), 0);
  EXPECT_EQ(inkInCell(drawn, 40, 14, sf::Color::Yellow), 0);
}

TEST_F(ViewObjectTest, TextFollowsTheBorderAndValueSwitches) {
  const DisplayManager& display = DisplayManager::getInstance();
  ViewObject* view = new ViewObject;
  view->setViewString("Hi");
  view->setValue(-42);
  view->setBorder(false);
  view->setLocation(TOP_LEFT);
  const float x = 80.0f / 6.0f;
  EXPECT_EQ(differingPixels(capture([&] { world().draw(); }), capture([&] {
              display.drawText(Vector(x, 0.0f), "Hi -42", ALIGN_CENTER, WHITE);
            })),
            0);
  view->setDrawValue(false);
  EXPECT_EQ(differingPixels(capture([&] { world().draw(); }), capture([&] {
              display.drawText(Vector(x, 0.0f), "Hi", ALIGN_CENTER, WHITE);
            })),
            0);
  view->setBorder(true);
  EXPECT_EQ(differingPixels(capture([&] { world().draw(); }), expectedFramed(x, 1.0f, " Hi ", WHITE)),
            0);
}

TEST_F(ViewObjectTest, PositionIsRelativeToTheView) {
  ViewObject* view = new ViewObject;
  view->setViewString("Score");
  view->setValue(7);
  world().setView(Box(Vector(0.0f, 60.0f), 80.0f, 24.0f));
  view->setLocation(BOTTOM_CENTER);
  EXPECT_EQ(view->getPosition(), Vector(40.0f, 22.0f));
  const sf::Image drawn = capture([&] { world().draw(); });
  EXPECT_EQ(differingPixels(drawn, expectedFramed(40.0f, 82.0f, " Score 7 ", WHITE)), 0);
  EXPECT_GT(inkInCell(drawn, 40, 21, sf::Color::White), 0);
  EXPECT_GT(inkInCell(drawn, 40, 23, sf::Color::White), 0);
}

TEST_F(ViewObjectTest, ViewEventsSetOrAddTheValueOfMatchingLabelsOnly) {
  ViewObject* score = new ViewObject;
  score->setViewString("Score");
  ViewObject* level = new ViewObject;
  level->setViewString("Level");
  level->setValue(1);
  level->setLocation(TOP_LEFT);
  score->serialize("");
  level->serialize("");

  const EventView set_score("Score", 5, false);
  EXPECT_EQ(world().onEvent(&set_score), 2);
  EXPECT_EQ(score->getValue(), 5);
  EXPECT_EQ(level->getValue(), 1);
  EXPECT_TRUE(score->isModified(VALUE));
  EXPECT_FALSE(level->isModified(VALUE));
  const EventView add_score("Score", 3, true);
  world().onEvent(&add_score);
  EXPECT_EQ(score->getValue(), 8);

  EXPECT_EQ(score->eventHandler(&add_score), 1);
  const EventView other_case("score", 100, false);
  const EventView trailing_blank("Score ", 100, false);
  EXPECT_EQ(score->eventHandler(&other_case), 0);
  EXPECT_EQ(score->eventHandler(&trailing_blank), 0);
  EXPECT_EQ(score->getValue(), 11);

  score->serialize("");
  const EventView add_nothing("Score", 0, true);
  EXPECT_EQ(score->eventHandler(&add_nothing), 1);
  EXPECT_FALSE(score->isModified(VALUE));
  const EventView set_same("Score", 11, false);
  score->eventHandler(&set_same);
  EXPECT_FALSE(score->isModified(VALUE));

  score->setLocation(CENTER_CENTER);
  EXPECT_EQ(differingPixels(capture([&] { score->draw(); }),
                            expectedFramed(40.0f, 12.0f, " Score 11 ", WHITE)),
            0);
}

TEST_F(ViewObjectTest, SerializeWritesViewKeysOnceAfterObjectKeys) {
  ViewObject* view = new ViewObject;
  EXPECT_TRUE(view->isModified());
  const std::string first = view->serialize("");
  EXPECT_NE(first.find("avoid_collisions:false,view_string:,view_value:0,view_border:true,"
                       "view_color:7,view_location:1,view_draw_value:true,"),
            std::string::npos)
      << first;
  EXPECT_FALSE(view->isModified());
  EXPECT_EQ(view->serialize(""), "");
  view->setValue(9);
  EXPECT_TRUE(view->isModified());
  EXPECT_EQ(view->serialize(""), "view_value:9,");
  EXPECT_EQ(view->serialize("COLOR,LOCATION,"), "view_color:7,view_location:1,");
}

TEST_F(ViewObjectTest, DeserializeRestoresTheViewAttributes) {
  ViewObject* source = new ViewObject;
  source->setViewString("Height");
  source->setValue(1234);
  source->setColor(CYAN);
  source->setDrawValue(false);
  source->setLocation(BOTTOM_LEFT);
  source->setBorder(false);
  ViewObject* copy = new ViewObject;
  EXPECT_EQ(copy->deserialize(source->serialize("ALL")), 0);
  EXPECT_EQ(copy->getViewString(), "Height");
  EXPECT_EQ(copy->getValue(), 1234);
  EXPECT_EQ(copy->getColor(), CYAN);
  EXPECT_FALSE(copy->getDrawValue());
  EXPECT_FALSE(copy->getBorder());
  EXPECT_EQ(copy->getLocation(), BOTTOM_LEFT);
  EXPECT_EQ(copy->getPosition(), source->getPosition());
  EXPECT_TRUE(copy->isModified(VIEW_STRING));
  EXPECT_TRUE(copy->isModified(BORDER));
}

TEST_F(ViewObjectTest, DeserializedBorderMovesTheObjectAndBadValuesAreHarmless) {
  ViewObject* view = new ViewObject;
  view->deserialize("view_border:false,");
  EXPECT_EQ(view->getPosition(), Vector(40.0f, 0.0f));
  view->deserialize("view_border:yes,view_value:abc,view_color:77,view_location:12,");
  EXPECT_FALSE(view->getBorder());
  EXPECT_EQ(view->getValue(), 0);
  EXPECT_EQ(view->getColor(), WHITE);
  EXPECT_TRUE(logHas("ViewObject::deserialize(): Warning! Color 77 not supported. Ignored."));
  EXPECT_TRUE(logHas("ViewObject::setLocation(): Warning! Location out of range (12). Ignored."));
  EXPECT_EQ(view->getLocation(), TOP_CENTER);
  EXPECT_FALSE(view->isModified(static_cast<ViewObjectAttribute>(6)));
}

}  // namespace
}  // namespace tx::test
