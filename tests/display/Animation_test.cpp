#include "tolvex/display/Animation.h"

#include <tuple>

#include "DisplayFixture.h"
#include "tolvex/display/Sprite.h"

namespace tx::test {
namespace {

using AnimationTest = DisplayTest;

// Counters read at the top of the int range wrap to the first frame or move on to the next.
TEST_F(AnimationTest, CountersAtTheTopOfTheRangeMoveOnWithoutOverflow) {
  startDisplay("headless:true,");
  Sprite sprite(2);
  sprite.addFrame(Frame(1, 1, "a"));
  sprite.addFrame(Frame(1, 1, "b"));
  sprite.setSlowdown(2);
  const std::tuple<const char*, int, int> cases[] = {
      {"sprite_index:2147483647,sprite_slowdown_count:1,", 0, 0},
      {"sprite_index:0,sprite_slowdown_count:2147483647,", 1, 0}};
  for (const auto& [text, index, count] : cases) {
    Animation animation;
    animation.setSprite(&sprite);
    animation.deserialize(text);
    animation.draw(Vector(1.0f, 1.0f));
    EXPECT_EQ(animation.getIndex(), index) << text;
    EXPECT_EQ(animation.getSlowdownCount(), count) << text;
  }
}

}  // namespace
}  // namespace tx::test
