#include "display/Animation.h"

#include "DisplayFixture.h"
#include "core/utility.h"
#include "display/ResourceManager.h"
#include "display/Sprite.h"

namespace tx::test {
namespace {

class AnimationTest : public DisplayTest {
 protected:
  // Three 1 x 1 frames, each drawing one letter.
  static void fill(Sprite& sprite, int slowdown) {
    sprite.setWidth(1);
    sprite.setHeight(1);
    sprite.setSlowdown(slowdown);
    sprite.addFrame(Frame(1, 1, "a"));
    sprite.addFrame(Frame(1, 1, "b"));
    sprite.addFrame(Frame(1, 1, "c"));
  }

  // The frame index each of n draws shows (the index is read before the draw advances it).
  static std::vector<int> drawnFrames(Animation& animation, int n) {
    std::vector<int> frames;
    for (int i = 0; i < n; i++) {
      frames.push_back(animation.getIndex());
      animation.draw(Vector(5.0f, 5.0f));
    }
    return frames;
  }
};

TEST_F(AnimationTest, EachFrameStaysForSlowdownDraws) {
  startDisplay("headless:true,");
  Sprite sprite(3);
  fill(sprite, 2);
  Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ(drawnFrames(animation, 6), (std::vector<int>{0, 0, 1, 1, 2, 2}));
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(animation.getSlowdownCount(), 0);
}

TEST_F(AnimationTest, SlowdownZeroChangesFrameOnEveryDraw) {
  startDisplay("headless:true,");
  Sprite sprite(3);
  fill(sprite, 0);
  Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ(drawnFrames(animation, 4), (std::vector<int>{0, 1, 2, 0}));
}

TEST_F(AnimationTest, FrozenAnimationKeepsItsFrame) {
  startDisplay("headless:true,");
  Sprite sprite(3);
  fill(sprite, 2);
  Animation animation;
  animation.setSprite(&sprite);
  animation.setSlowdownCount(-1);
  EXPECT_EQ(drawnFrames(animation, 5), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_EQ(animation.getSlowdownCount(), -1);
}

TEST_F(AnimationTest, DrawsTheCurrentFrameWithTheSpriteTransparency) {
  startDisplay();
  Sprite sprite(1);
  sprite.setWidth(3);
  sprite.setHeight(1);
  sprite.setColor(RED);
  sprite.setTransparency('#');
  sprite.addFrame(Frame(3, 1, "###"));
  Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ(animation.draw(Vector(5.0f, 2.0f)), 0);
  EXPECT_EQ(countInk(drawnImage()), 0);
  EXPECT_EQ(Animation().draw(Vector(5.0f, 2.0f)), 0);
}

TEST_F(AnimationTest, BoxIsTheSpriteCentredOrOneCell) {
  Animation animation;
  EXPECT_EQ(animation.getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  Sprite sprite(1);
  sprite.setWidth(5);
  sprite.setHeight(3);
  animation.setSprite(&sprite);
  EXPECT_EQ(animation.getBox(), Box(Vector(-2.5f, -1.5f), 5.0f, 3.0f));
}

TEST_F(AnimationTest, NullSpriteKeepsTheName) {
  Sprite sprite(1);
  sprite.setLabel("ship");
  Animation animation;
  animation.setSprite(&sprite);
  animation.setIndex(2);
  animation.setSprite(nullptr);
  EXPECT_EQ(animation.getSprite(), nullptr);
  EXPECT_EQ(animation.getName(), "ship");
  EXPECT_EQ(animation.getIndex(), 0);
}

TEST_F(AnimationTest, SerializeWritesWhenAskedOrModified) {
  Animation animation;
  EXPECT_EQ(animation.serialize(), "sprite_name:,sprite_index:0,sprite_slowdown_count:0,");
  EXPECT_FALSE(animation.isModified());
  EXPECT_EQ(animation.serialize(), "");
  EXPECT_EQ(animation.serialize("POSITION,"), "");

  animation.setName("ship");
  animation.setIndex(2);
  animation.setSlowdownCount(-1);
  EXPECT_EQ(animation.serialize("POSITION,"), "");
  EXPECT_TRUE(animation.isModified());
  EXPECT_EQ(animation.serialize("POSITION,ANIMATION,"),
            "sprite_name:ship,sprite_index:2,sprite_slowdown_count:-1,");
  EXPECT_EQ(animation.serialize("ALL"), "sprite_name:ship,sprite_index:2,sprite_slowdown_count:-1,");
}

TEST_F(AnimationTest, UnknownSpriteNameIsLoggedAndOnlyTheNameChanges) {
  startLog();
  Sprite sprite(1);
  sprite.setLabel("ship");
  Animation animation;
  animation.setSprite(&sprite);
  animation.serialize();
  EXPECT_EQ(animation.deserialize("sprite_name:ghost,sprite_index:4,"), 0);
  EXPECT_TRUE(logHas("Animation::Match(): Sprite 'ghost' not found"));
  EXPECT_EQ(animation.getSprite(), &sprite);
  EXPECT_EQ(animation.getName(), "ghost");
  EXPECT_EQ(animation.getIndex(), 4);
  EXPECT_EQ(animation.getSlowdownCount(), 0);
  EXPECT_TRUE(animation.isModified());
}

TEST_F(AnimationTest, EmptyTextRestoresNothing) {
  Animation animation;
  animation.deserialize("sprite_index:5,");
  match("sprite_index:7,", "");
  EXPECT_EQ(animation.deserialize(""), 0);
  EXPECT_EQ(animation.getIndex(), 5);
}

TEST_F(AnimationTest, RestoresALoadedSpriteFromSerializedText) {
  startLog();
  ResourceManager& resources = ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  const std::string file = writeFile("ship.txt",
                                     "<HEADER>\nframes 2\nwidth 1\nheight 1\ncolor red\n</HEADER>\n"
                                     "<BODY>\na\nend\nb\nend\n</BODY>\n"
                                     "<FOOTER>\nversion 1\n</FOOTER>\n");
  ASSERT_EQ(resources.loadSprite(file, "ship"), 0);

  Animation original;
  original.setSprite(resources.getSprite("ship"));
  original.setIndex(1);
  original.setSlowdownCount(-1);
  Animation restored;
  restored.serialize();
  EXPECT_EQ(restored.deserialize(original.serialize("ALL")), 0);
  EXPECT_EQ(restored.getSprite(), resources.getSprite("ship"));
  EXPECT_EQ(restored.getName(), "ship");
  EXPECT_EQ(restored.getIndex(), 1);
  EXPECT_EQ(restored.getSlowdownCount(), -1);
  EXPECT_TRUE(restored.isModified());
  resources.shutDown();
}

}  // namespace
}  // namespace tx::test
