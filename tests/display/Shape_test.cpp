#include "tolvex/display/Shape.h"

#include "DisplayFixture.h"

namespace tx::test {
namespace {

using ShapeTest = DisplayTest;

TEST_F(ShapeTest, ShapesTakeTheirPointsRadiusAndCornerFromTypeAndSize) {
  startDisplay();
  EXPECT_FLOAT_EQ(Shape().getSize(),
                  24.0f);  // the font scale (2) times the smaller cell side, whole
  // Cell (5, 2) is pixel (64, 64). The square's turn stays for whatever is drawn next.
  const struct {
    int type;
    float size;
    unsigned points;
    float radius, x, y, rotation;
  } table[] = {{CIRCLE, 2.0f, 3, 2.0f, 63.0f, 63.0f, 0.0f},
               {CIRCLE, 7.9f, 7, 7.9f, 60.05f, 60.05f, 0.0f},
               {CIRCLE, 24.0f, 10, 24.0f, 52.0f, 52.0f, 0.0f},
               {SQUARE, 24.0f, 4, 12.0f, 76.0f, 64.0f - 24.0f / 1.75f, 45.0f},
               {TRIANGLE, 24.0f, 3, 12.0f, 52.0f, 52.0f, 45.0f}};
  for (const auto& row : table) {
    Shape shape;
    shape.setType(row.type);
    shape.setSize(row.size);
    shape.draw(Vector(5.0f, 2.0f));
    const sf::CircleShape& figure = Shape::getFigure();
    SCOPED_TRACE(::testing::Message() << "type " << row.type << ", size " << row.size);
    EXPECT_EQ(figure.getPointCount(), row.points);
    EXPECT_FLOAT_EQ(figure.getRadius(), row.radius);
    EXPECT_FLOAT_EQ(figure.getPosition().x, row.x);
    EXPECT_FLOAT_EQ(figure.getPosition().y, row.y);
    EXPECT_FLOAT_EQ(figure.getRotation(), row.rotation);
  }
}

}  // namespace
}  // namespace tx::test
