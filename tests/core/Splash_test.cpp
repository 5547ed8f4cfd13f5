#include "core/Splash.h"

#include <X11/keysym.h>

#include <functional>
#include <vector>

#include "TestSupport.h"
#include "XInput.h"
#include "core/EventStep.h"
#include "core/GameManager.h"
#include "core/LogManager.h"
#include "core/ObjectListIterator.h"
#include "core/SplashArt.h"
#include "core/SplashTolvex.h"
#include "core/splash.h"
#include "display/DisplayManager.h"
#include "display/Sprite.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

Object* firstOfType(const std::string& type) {
  const ObjectList list = WorldManager::getInstance().objectsOfType(type);
  ObjectListIterator it(&list);
  return it.currentObject();
}

// What the splash objects looked like at the start of one step, before they handled it.
struct Snapshot {
  int step = 0;
  bool has_name = false;
  Vector name_position;
  float name_speed = 0.0f;
  int name_frame = 0;
  bool has_figure = false;
  Vector figure_position;
  float figure_speed = 0.0f;
  std::string figure_sprite;
};

// Registered for steps before the splash objects exist, so it sees every step first. It may
// act on a given step (press a key, close the window) and can end a later run of the loop.
class Watcher : public Object {
 public:
  Watcher() {
    setSolidness(SPECTRAL);
    setVisible(false);
    registerInterest(STEP_EVENT);
  }
  int eventHandler(const Event* event) override {
    if (event->getType() != STEP_EVENT) return 0;
    Snapshot shot;
    shot.step = static_cast<const EventStep*>(event)->getStepCount();
    if (Object* name = firstOfType("Splash")) {
      shot.has_name = true;
      shot.name_position = name->getPosition();
      shot.name_speed = name->getSpeed();
      shot.name_frame = name->getAnimation().getIndex();
    }
    if (Object* figure = firstOfType("SplashTolvex")) {
      shot.has_figure = true;
      shot.figure_position = figure->getPosition();
      shot.figure_speed = figure->getSpeed();
      shot.figure_sprite = figure->getAnimation().getName();
    }
    shots.push_back(shot);
    if (shot.step == act_on_step && action) action();
    if (shot.step == end_on_step) GameManager::getInstance().setGameOver(true);
    return 1;
  }
  std::vector<Snapshot> shots;
  int act_on_step = -1;
  std::function<void()> action;
  int end_on_step = -1;
};

class SplashTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    ASSERT_TRUE(input.isOpen());
    ASSERT_TRUE(input.focus(windowHandle()));
    watcher = new Watcher;
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    EngineTest::TearDown();
  }
  static unsigned long windowHandle() {
    return DisplayManager::getInstance().getWindow()->getSystemHandle();
  }
  void pressAndRelease(unsigned long keysym) {
    input.pressKey(keysym);
    input.releaseKey(keysym);
    input.settle();
  }

  XInput input;
  Watcher* watcher = nullptr;
};

TEST(SplashArtTest, SpritesHaveTheirSizesFramesAndColours) {
  struct Expected {
    Sprite* sprite;
    const char* label;
    int width, height, frames;
    Color color;
  };
  for (const Expected& e : {Expected{makeSplashSprite(), "splash", 47, 8, 2, GREEN},
                            Expected{makeSplashTolvexSprite(), "splash-tolvex", 11, 7, 2, BLUE},
                            Expected{makeSplashTolvexRestSprite(), "splash-tolvex-rest", 9, 6, 1,
                                     GREEN}}) {
    ASSERT_NE(e.sprite, nullptr);
    EXPECT_EQ(e.sprite->getLabel(), e.label);
    EXPECT_EQ(e.sprite->getWidth(), e.width);
    EXPECT_EQ(e.sprite->getHeight(), e.height);
    EXPECT_EQ(e.sprite->getFrameCount(), e.frames);
    EXPECT_EQ(e.sprite->getColor(), e.color);
    for (int i = 0; i < e.frames; i++) {
      const Frame frame = e.sprite->getFrame(i);
      EXPECT_EQ(frame.getString().size(), static_cast<size_t>(e.width * e.height)) << e.label;
      EXPECT_NE(frame.getString().find_first_not_of(' '), std::string::npos);
    }
    if (e.frames == 2) {
      EXPECT_NE(e.sprite->getFrame(0).getString(), e.sprite->getFrame(1).getString());
    }
    delete e.sprite;
  }
  Sprite* figure = makeSplashTolvexSprite();
  EXPECT_EQ(figure->getSlowdown(), 2);
  delete figure;
}

TEST(SplashStartTest, RefusesToRunBeforeTheGameManagerStarts) {
  EXPECT_EQ(splash(), -1);
}

TEST_F(SplashTest, RunsNinetyStepsThenEndsTheLoopAndLeavesNothing) {
  EXPECT_EQ(splash(), 0);
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 90);
  const std::vector<Snapshot>& shots = watcher->shots;
  ASSERT_EQ(shots.size(), 90u);
  EXPECT_EQ(firstOfType("Splash"), nullptr);
  EXPECT_EQ(firstOfType("SplashTolvex"), nullptr);

  // The name starts beyond the right edge, centred vertically, and slides until step 14.
  EXPECT_EQ(shots[0].name_position, Vector(80.0f + 23.5f, 12.0f));
  EXPECT_FLOAT_EQ(shots[0].name_speed, 74.5f / 16.0f);
  for (const Snapshot& shot : shots) {
    EXPECT_TRUE(shot.has_name) << shot.step;
    EXPECT_EQ(shot.name_speed > 0.0f, shot.step <= 14) << shot.step;
    EXPECT_EQ(shot.name_frame, shot.step <= 14 ? 0 : 1) << shot.step;
    // The figure is called up on step 14, stops rising on step 44 and rests from step 59.
    EXPECT_EQ(shot.has_figure, shot.step >= 15) << shot.step;
    if (!shot.has_figure) continue;
    EXPECT_EQ(shot.figure_speed > 0.0f, shot.step <= 44) << shot.step;
    EXPECT_EQ(shot.figure_sprite, shot.step <= 59 ? "splash-tolvex" : "splash-tolvex-rest");
  }
  const Vector name = shots[15].name_position;
  EXPECT_FLOAT_EQ(name.getX(), 103.5f - 14.0f * 74.5f / 16.0f);
  // Six rows below the view, rising a thirtieth of the way each step from the step it came.
  const float rise = (24.0f + 6.0f - (name.getY() + 1.0f)) / 30.0f;
  EXPECT_FLOAT_EQ(shots[15].figure_position.getX(), name.getX() + 24.0f);
  EXPECT_FLOAT_EQ(shots[15].figure_position.getY(), 30.0f - rise);
  EXPECT_NEAR(shots[45].figure_position.getY(), name.getY() + 1.0f, 1e-3f);
  EXPECT_FLOAT_EQ(shots[60].figure_position.getX(), name.getX() + 23.0f);
  EXPECT_EQ(shots[89].figure_position, shots[60].figure_position);
}

TEST_F(SplashTest, KeyPressEndsItOnThatStep) {
  watcher->act_on_step = 20;
  watcher->action = [this] { pressAndRelease(XK_a); };
  EXPECT_EQ(splash(), 0);
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 21);
  EXPECT_TRUE(watcher->shots.back().has_figure);
  EXPECT_EQ(firstOfType("Splash"), nullptr);
  EXPECT_EQ(firstOfType("SplashTolvex"), nullptr);
}

TEST_F(SplashTest, KeyPressWithinFifteenStepsNeverCallsUpTheFigure) {
  watcher->act_on_step = 5;
  watcher->action = [this] { pressAndRelease(XK_space); };
  EXPECT_EQ(splash(), 0);
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 6);
  for (const Snapshot& shot : watcher->shots) EXPECT_FALSE(shot.has_figure);
  EXPECT_EQ(firstOfType("Splash"), nullptr);
}

TEST_F(SplashTest, ClosingTheWindowEndsItAndLeavesNothingToDisturbTheGame) {
  watcher->act_on_step = 30;
  watcher->action = [this] {
    input.requestClose(windowHandle());
    input.settle();
  };
  EXPECT_EQ(splash(), 0);
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 31);

  // The game's own run: the splash objects must neither show up nor end it.
  watcher->shots.clear();
  watcher->act_on_step = -1;
  watcher->end_on_step = 100;
  GameManager::getInstance().run();
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 101);
  for (const Snapshot& shot : watcher->shots) {
    EXPECT_FALSE(shot.has_name) << shot.step;
    EXPECT_FALSE(shot.has_figure) << shot.step;
  }
}

}  // namespace
}  // namespace tx::test
