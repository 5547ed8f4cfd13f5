// The game loop while input is replayed or recorded: the recorded pace, sleeps scaled by the
// replay speed, path search counted in steps, and a pause that does not wait.
#include <string>
#include <vector>

#include "TestSupport.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/core/Pause.h"
#include "tolvex/path/PathManager.h"
#include "tolvex/platform/SystemClock.h"
#include "tolvex/world/Object.h"

namespace tx::test {
namespace {

class GameManagerReplay : public EngineTest {
 protected:
  void TearDown() override {
    game.shutDown();
    setWallClockSource({});
    setSleeper({});
    EngineTest::TearDown();
  }
  // Starts headless with the settings given, on a wall clock that stands still (work takes no
  // time) and a sleeper that only notes what it is asked. A replay reads a recording made at
  // 40 ms a step, holding the lines given.
  void start(const std::string& settings, const std::string& recorded = "end 100\n") {
    writeFile("game.rec",
              "tolvex-input-recording 1\nengine_version 4.16\nframe_time 40\ncells 80 24\n"
              "random_seed 3\nconfig frame_time:40,\n" +
                  recorded);
    writeFile("tx-config.txt", "headless:true,\n" + settings);
    setWallClockSource([] { return WallClockTime{3, 10, 0, 0, 0}; });
    setSleeper([this](int ms) { sleeps.push_back(ms); });
    ASSERT_EQ(game.startUp(), 0);
    LogManager::getInstance().setFlush(true);
  }
  void step(int count) {
    for (int i = 0; i < count; ++i) game.step();
  }
  std::string replaying() const { return "replay_input:" + path("game.rec") + ",\n"; }

  GameManager& game = GameManager::getInstance();
  std::vector<int> sleeps;
};

TEST_F(GameManagerReplay, ReplaySpeedZeroNeverSleeps) {
  start(replaying() + "replay_speed:0,\n");
  step(3);
  EXPECT_TRUE(sleeps.empty());
}

TEST_F(GameManagerReplay, ReplaySpeedDividesTheRecordedFrameTime) {
  start(replaying() + "replay_speed:2,\nframe_time:10,\n");
  step(2);
  EXPECT_EQ(sleeps, (std::vector<int>{20, 20}));
}

// With time standing still a time budget never runs out, so one frame would finish the search.
TEST_F(GameManagerReplay, RecordedGameSearchesPathsByStepsNotTime) {
  start("frame_time:33,\npath_search_steps:2,\nrecord_input:" + path("out.rec") + ",\n");
  auto* walker = new Object;
  walker->setPosition(Vector(2, 2));
  ASSERT_EQ(walker->findPath(Vector(12, 2)), 0);
  step(1);
  EXPECT_EQ(PathManager::getInstance().getSearchCount(), 1);
  step(20);
  EXPECT_EQ(PathManager::getInstance().getSearchCount(), 0);
  EXPECT_TRUE(walker->getFollowPath());
}

// Headless there is no window to wait on; a live game would log that it cannot pause.
TEST_F(GameManagerReplay, PauseInAReplayGoesOnAtOnce) {
  start(replaying() + "replay_speed:0,\n", "1 key 33 pressed\nend 5\n");
  new Pause(KeyCode::F10);
  step(3);
  EXPECT_FALSE(logHas(
      "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause."));
  EXPECT_FALSE(game.getGameOver());
}

}  // namespace
}  // namespace tx::test
