#include "display/Shape.h"

#include "DisplayFixture.h"

namespace tx::test {
namespace {

using ShapeTest = DisplayTest;

// World cell (5, 2) is pixel (64, 64) with the default geometry and view.
const Vector AT(5.0f, 2.0f);

// Draws a shape of the type and size and returns the shared figure as the draw left it.
const sf::CircleShape& drawn(int type, float size) {
  Shape shape;
  shape.setType(type);
  shape.setSize(size);
  shape.draw(AT);
  return Shape::getFigure();
}

TEST_F(ShapeTest, InitialSizeComesFromTheWholeCellAndFontScale) {
  EXPECT_FLOAT_EQ(Shape().getSize(), 24.0f);
  Config::getInstance().loadConfig("font_scale:1.5,");
  EXPECT_FLOAT_EQ(Shape().getSize(), 18.0f);
}

TEST_F(ShapeTest, CirclePointsFollowItsSize) {
  startDisplay();
  EXPECT_EQ(drawn(CIRCLE, 2.0f).getPointCount(), 3u);
  EXPECT_FLOAT_EQ(Shape::getFigure().getRadius(), 2.0f);
  EXPECT_EQ(drawn(CIRCLE, 7.9f).getPointCount(), 7u);
  const sf::CircleShape& circle = drawn(CIRCLE, 24.0f);
  EXPECT_EQ(circle.getPointCount(), 10u);
  EXPECT_FLOAT_EQ(circle.getRadius(), 24.0f);
  EXPECT_EQ(circle.getPosition(), sf::Vector2f(52.0f, 52.0f));
}

TEST_F(ShapeTest, SquareIsTurnedAndScaledByTheFontScale) {
  startDisplay();
  const sf::CircleShape& square = drawn(SQUARE, 24.0f);
  EXPECT_EQ(square.getPointCount(), 4u);
  EXPECT_FLOAT_EQ(square.getRotation(), 45.0f);
  EXPECT_FLOAT_EQ(square.getRadius(), 12.0f);
  EXPECT_FLOAT_EQ(square.getPosition().x, 76.0f);
  EXPECT_FLOAT_EQ(square.getPosition().y, 64.0f - 24.0f / 1.75f);
  // The turn stays for whatever is drawn next.
  EXPECT_FLOAT_EQ(drawn(TRIANGLE, 24.0f).getRotation(), 45.0f);
}

TEST_F(ShapeTest, TriangleHasHalfItsSizeAsRadius) {
  startDisplay();
  const sf::CircleShape& triangle = drawn(TRIANGLE, 24.0f);
  EXPECT_EQ(triangle.getPointCount(), 3u);
  EXPECT_FLOAT_EQ(triangle.getRadius(), 12.0f);
  EXPECT_EQ(triangle.getPosition(), sf::Vector2f(52.0f, 52.0f));
}

TEST_F(ShapeTest, CircleIsFilledInItsColour) {
  startDisplay();
  Shape shape;
  shape.setColor(RED);
  shape.draw(AT);
  const sf::Image image = drawnImage();
  // Radius 24 with its corner at (52, 52): the centre is (76, 76).
  EXPECT_EQ(image.getPixel(76, 76), sf::Color::Red);
  EXPECT_EQ(image.getPixel(50, 76), sf::Color::Black);
}

TEST_F(ShapeTest, CustomKeepsTheLastConvertedColour) {
  startDisplay();
  Shape shape;
  shape.setColor(CUSTOM);
  shape.draw(AT);
  EXPECT_EQ(Shape::getFigure().getFillColor(), sf::Color::White);
  shape.setColor(RED);
  shape.draw(AT);
  shape.setColor(CUSTOM);
  shape.draw(AT);
  EXPECT_EQ(Shape::getFigure().getFillColor(), sf::Color::Red);
}

TEST_F(ShapeTest, OpacityZeroDrawsNothingVisible) {
  startDisplay();
  Shape shape;
  shape.setColor(RED);
  shape.setOpacity(0);
  shape.draw(AT);
  EXPECT_EQ(Shape::getFigure().getFillColor().a, 0);
  EXPECT_EQ(countInk(drawnImage()), 0);
}

TEST_F(ShapeTest, UnknownTypesAreRefused) {
  startLog();
  Shape shape;
  shape.setType(3);
  shape.setType(-2);
  EXPECT_EQ(shape.getType(), CIRCLE);
  EXPECT_TRUE(logHas("Shape::setType(): Unknown shape type 3. Ignoring."));
  EXPECT_TRUE(logHas("Shape::setType(): Unknown shape type -2. Ignoring."));
  shape.setType(UNDEFINED);
  EXPECT_EQ(shape.getType(), UNDEFINED);
}

TEST_F(ShapeTest, WithoutAWindowNothingIsDrawn) {
  startDisplay("headless:true,");
  Shape shape;
  shape.setSize(24.0f);
  shape.draw(AT);
  EXPECT_FLOAT_EQ(Shape::getFigure().getRadius(), 0.0f);
  EXPECT_EQ(logMessages(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tx::test
