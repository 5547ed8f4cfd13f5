#include "display/Animation.h"

#include "DisplayFixture.h"
#include "display/Sprite.h"

namespace tx::test {
namespace {

using AnimationTest = DisplayTest;

TEST_F(AnimationTest, AnimationStepsEverySlowdownDrawsUnlessFrozen) {
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

}  // namespace
}  // namespace tx::test
