// Frames, sprites, animations and shapes.
#include "display/Sprite.h"

#include "DisplayFixture.h"
#include "display/Animation.h"
#include "display/Shape.h"

namespace tx::test {
namespace {

using SpriteTest = DisplayTest;

void drawChar(float x, float y, char ch) {
  DisplayManager::getInstance().drawCharacter(Vector(x, y), ch, GREEN);
}

TEST_F(SpriteTest, FramesAreCentredForOddAndEvenSizesAndSkipTransparentCells) {
  startDisplay();
  EXPECT_EQ(differingPixels(
                capture([] { EXPECT_EQ(Frame(3, 1, "abc").draw(Vector(10.0f, 5.0f), GREEN), 0); }),
                capture([] {
                  drawChar(9.0f, 5.0f, 'a');
                  drawChar(10.0f, 5.0f, 'b');
                  drawChar(11.0f, 5.0f, 'c');
                })),
            0)
      << "odd: centred on its middle cell";
  const sf::Image even = capture([] { Frame(4, 2, "abcdefgh").draw(Vector(10.0f, 5.0f), GREEN); });
  EXPECT_GT(countInk(even), 0);
  EXPECT_EQ(differingPixels(even, capture([] {
                              for (int i = 0; i < 8; i++)
                                drawChar(8.5f + static_cast<float>(i % 4),
                                         4.5f + static_cast<float>(i / 4), "abcdefgh"[i]);
                            })),
            0)
      << "even: straddles the position by half cells";
  EXPECT_EQ(
      differingPixels(capture([] { Frame(5, 1, "#a#b#").draw(Vector(10.0f, 5.0f), GREEN, '#'); },
                              sf::Color::Blue),
                      capture(
                          [] {
                            drawChar(9.0f, 5.0f, 'a');
                            drawChar(11.0f, 5.0f, 'b');
                          },
                          sf::Color::Blue)),
      0)
      << "transparent characters leave their cells untouched";
  EXPECT_EQ(differingPixels(capture([] { Frame(3, 2, "ab").draw(Vector(10.0f, 5.0f), GREEN); }),
                            capture([] {
                              drawChar(9.0f, 4.5f, 'a');
                              drawChar(10.0f, 4.5f, 'b');
                            })),
            0)
      << "no further than its text";
  EXPECT_EQ(countInk(capture([] { Frame().draw(Vector(10.0f, 5.0f), GREEN); })), 0);
}

TEST_F(SpriteTest, AnimationStepsEverySlowdownDrawsUnlessFrozen) {
  startDisplay("headless:true,");
  const struct {
    int slowdown, count;
    std::vector<int> frames;
  } cases[] = {{2, 0, {0, 0, 1, 1, 2, 2, 0}}, {0, 0, {0, 1, 2, 0}}, {2, -1, {0, 0, 0, 0, 0}}};
  for (const auto& c : cases) {
    Sprite sprite(3);
    sprite.setSlowdown(c.slowdown);
    for (const char* s : {"a", "b", "c"}) sprite.addFrame(Frame(1, 1, s));
    Animation animation;
    animation.setSprite(&sprite);
    animation.setSlowdownCount(c.count);
    std::vector<int> frames;  // the index each draw shows
    for (std::size_t i = 0; i < c.frames.size(); i++, animation.draw(Vector(5.0f, 5.0f)))
      frames.push_back(animation.getIndex());
    EXPECT_EQ(frames, c.frames) << "slowdown " << c.slowdown << ", count " << c.count;
  }
}

TEST_F(SpriteTest, ShapesTakeTheirPointsRadiusAndCornerFromTypeAndSize) {
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
