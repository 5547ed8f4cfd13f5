#include "tolvex/core/GameManager.h"

#include <csignal>
#include <deque>
#include <tuple>

#include "CoreTest.h"
#include "tolvex/platform/SystemClock.h"

namespace tx::test {
namespace {

const long long DAY_MS = 86400000;

// Headless, on a hand-moved wall clock (ms since day 1 of a 31-day month) that also sleeps.
class GameManagerTest : public EngineTest {
 protected:
  void TearDown() override {
    setWallClockSource({});
    setSleeper({});
    EngineTest::TearDown();
  }
  void start(const std::string& settings) {
    writeFile("tx-config.txt", "headless:true,\n" + settings);
    setWallClockSource([this] {
      const long long t = now_ms % (31 * DAY_MS);
      return WallClockTime{static_cast<int>(t / DAY_MS) + 1, static_cast<int>(t / 3600000 % 24),
                           static_cast<int>(t / 60000 % 60), static_cast<int>(t / 1000 % 60),
                           static_cast<int>(t % 1000)};
    });
    setSleeper([this](int ms) {
      sleeps.push_back(ms);
      now_ms += ms;
      if (!oversleeps.empty()) now_ms += oversleeps.front(), oversleeps.pop_front();
    });
    ASSERT_EQ(game.startUp(), 0);
    LogManager::getInstance().setFlush(true);
  }
  GameManager& game = GameManager::getInstance();
  long long now_ms = 10 * 3600000;
  std::vector<int> sleeps;     // every sleep the loop asked for
  std::deque<int> oversleeps;  // extra ms the next sleeps take
};

// The microsecond stamp wraps on day 1 at 01:03:14.313; a zero frame time stays, so comes last.
TEST_F(GameManagerTest, LoopSleepsOutTheFrame) {
  // rule, start, oversleeps, each step's work, sleeps, complaints
  const std::tuple<const char*, long long, std::deque<int>, std::vector<int>, std::vector<int>,
                   std::size_t>
      cases[] = {{"oversleep is taken off", 0, {2}, {5, 5, 5}, {28, 26, 28}, 0},
                 {"overrun complains but first", 0, {}, {40, 40, 5}, {28}, 1},
                 {"overrun clears a carry", 0, {2}, {5, 40, 40, 5}, {28, 28}, 1},
                 {"clock set back", 0, {}, {5, 5 - 600000, 5}, {28, 33, 28}, 0},
                 {"turn of the month", 31 * DAY_MS - 3, {}, {5, 5, 5}, {28, 28}, 0},
                 {"stamp wrap", 21 * 4294967296LL / 1000 - DAY_MS - 3, {}, {5, 5}, {28, 28}, 0},
                 {"zero frame time", 0, {}, {5, 50, 5}, {}, 0}};
  for (const auto& [rule, start_ms, overs, work, expected, complaints] : cases) {
    SCOPED_TRACE(rule);
    if (start_ms != 0) now_ms = start_ms;
    sleeps.clear();
    oversleeps = overs;
    start(expected.empty() ? "frame_time:0," : "");
    new Stepper([&, steps = work](int step) {  // the last step ends the loop
      now_ms += steps[static_cast<std::size_t>(step)];
      if (step + 1 == static_cast<int>(steps.size())) game.setGameOver();
    });
    game.run();
    EXPECT_EQ(sleeps, expected);
    game.shutDown();
    EXPECT_EQ(logLinesWith("Can't keep up!"),
              std::vector<std::string>(
                  complaints, "GameManager::run(): Can't keep up! frame_time 33 ms, split 40 ms"));
  }
}

TEST_F(GameManagerTest, StartAndStopOrderInTheLog) {
  writeFile("tx-config.txt", "networking:true,");
  LogManager::getInstance().setLogLevel(1);
  ASSERT_EQ(game.startUp(), 0);
  EXPECT_EQ(game.startUp(), 0);
  game.shutDown();
  EXPECT_EQ(logLinesWith("anager st"),
            (std::vector<std::string>{
                "Log Manager started.", "Display manager started.", "Input manager started.",
                "Network manager started.", "Resource manager started.", "World manager started.",
                "Path manager started.", "Path manager stopped", "World manager stopped",
                "Resource manager stopped", "Network manager stopped", "Input manager stopped",
                "Display manager stopped"}));
  EXPECT_EQ(logMessages()[1], "** Tolvex version 4.16 **");
  EXPECT_EQ(logCount("GameManager::startup(): Already started."), 1);
}

// 1 after a failed start-up, which says why; 0 again after one that works; 128 + a stop signal.
TEST_F(GameManagerTest, ExitStatusTellsHowTheGameEnded) {
  const std::string no_log = dir + "/none/tolvex.log";
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"", no_log, "cannot open the log file '" + no_log + "'"},
      {"font_file:none.ttf,", logPath(),
       "cannot open a window of that size or load the font; see " + logPath()}};
  for (const auto& [settings, log, told] : cases) {
    writeFile("tx-config.txt", settings);
    setenv("TOLVEX_LOG", log.c_str(), 1);
    const std::string err = stderrOf([&] { EXPECT_EQ(game.startUp(), -1); });
    game.shutDown();
    EXPECT_NE(("\n" + err).find("\nTolvex: " + told + "\n"), std::string::npos) << err;
    EXPECT_EQ(game.getExitStatus(), 1);
  }
  start("");
  EXPECT_EQ(game.getExitStatus(), 0);
  new Stepper([this](int step) {
    if (step == 2) std::raise(SIGINT);
    if (step == 50) game.setGameOver();  // the signal went unnoticed
  });
  game.run();
  EXPECT_EQ(game.getStepCount(), 3);
  game.run();
  EXPECT_EQ(game.getStepCount(), 0) << "any later loop (the splash's, the game's) ends at once";
  game.shutDown();
  EXPECT_EQ(logCount("GameManager::run(): Signal 2 received: game over."), 1);
  EXPECT_EQ(game.getExitStatus(), 130);
}

}  // namespace
}  // namespace tx::test
