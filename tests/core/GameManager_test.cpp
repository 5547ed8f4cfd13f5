#include "core/GameManager.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
#include <cctype>
#include <vector>

#include "TestSupport.h"
#include "core/EventStep.h"
#include "core/LogManager.h"
#include "platform/SystemClock.h"
#include "world/Object.h"

namespace tx {
namespace {

const long long DAY_MS = 86400000;

// A wall clock the test moves by hand, in milliseconds since day 1 of a 31-day month.
struct DrivenClock {
  long long now_ms = 10 * 3600000;
  std::vector<int> sleeps;           // every sleep the loop asked for, in ms
  std::deque<int> oversleeps;        // extra ms the next sleeps take
  WallClockTime read() const {
    const long long in_month = now_ms % (31 * DAY_MS);
    WallClockTime t;
    t.day = static_cast<int>(in_month / DAY_MS) + 1;
    t.hour = static_cast<int>(in_month / 3600000 % 24);
    t.minute = static_cast<int>(in_month / 60000 % 60);
    t.second = static_cast<int>(in_month / 1000 % 60);
    t.millisecond = static_cast<int>(in_month % 1000);
    return t;
  }
  void sleep(int ms) {
    sleeps.push_back(ms);
    now_ms += ms;
    if (!oversleeps.empty()) {
      now_ms += oversleeps.front();
      oversleeps.pop_front();
    }
  }
};

// Listens for steps and runs the test's action for each, with the step number it carried.
class Stepper : public Object {
 public:
  explicit Stepper(std::function<void(int)> init_action) : action(std::move(init_action)) {
    registerInterest(STEP_EVENT);
  }
  int eventHandler(const Event* event) override {
    if (event->getType() != STEP_EVENT) return 0;
    const int step = static_cast<const EventStep*>(event)->getStepCount();
    steps.push_back(step);
    action(step);
    return 1;
  }
  std::vector<int> steps;
  std::function<void(int)> action;
};

class GameManagerTest : public test::EngineTest {
 protected:
  void TearDown() override {
    setWallClockSource({});
    setSleeper({});
    EngineTest::TearDown();
  }

  // Starts headless with the given extra settings, and (when driven) on the test's clock.
  void start(const std::string& settings, bool driven = true) {
    writeFile("tx-config.txt", "headless:true,\n" + settings);
    if (driven) {
      setWallClockSource([this] { return clock.read(); });
      setSleeper([this](int ms) { clock.sleep(ms); });
    }
    ASSERT_EQ(game.startUp(), 0);
    LogManager::getInstance().setFlush(true);
  }

  // A stepper whose step n takes work_ms[n] ms of driven time; the loop ends after the last.
  Stepper* workFor(std::vector<int> work_ms) {
    return new Stepper([this, work_ms](int step) {
      clock.now_ms += work_ms[static_cast<std::size_t>(step)];
      if (step + 1 == static_cast<int>(work_ms.size())) game.setGameOver();
    });
  }

  GameManager& game = GameManager::getInstance();
  DrivenClock clock;
};

TEST_F(GameManagerTest, OversleepIsTakenOffTheNextSleep) {
  start("");
  clock.oversleeps = {2};
  workFor({5, 5, 5});
  game.run();
  game.shutDown();
  EXPECT_EQ(clock.sleeps, (std::vector<int>{28, 26, 28}));
}

TEST_F(GameManagerTest, OverrunLogsCantKeepUpExceptInTheFirstStep) {
  start("");
  workFor({40, 40, 5});
  game.run();
  game.shutDown();
  EXPECT_EQ(logCount("GameManager::run(): Can't keep up! frame_time 33 ms, split 40 ms"), 1);
  EXPECT_EQ(clock.sleeps, std::vector<int>{28});
}

TEST_F(GameManagerTest, FirstOverrunAfterAnOversleepOnlyClearsTheCarry) {
  start("");
  clock.oversleeps = {2};
  workFor({5, 40, 40, 5});
  game.run();
  game.shutDown();
  EXPECT_EQ(logCount("GameManager::run(): Can't keep up! frame_time 33 ms, split 40 ms"), 1);
  EXPECT_EQ(clock.sleeps, (std::vector<int>{28, 28}));
}

TEST_F(GameManagerTest, ZeroFrameTimeNeverSleepsNorComplains) {
  start("frame_time:0,");
  workFor({5, 5, 5});
  game.run();
  game.shutDown();
  EXPECT_TRUE(clock.sleeps.empty());
  for (const std::string& line : logMessages())
    EXPECT_EQ(line.find("Can't keep up!"), std::string::npos) << line;
}

TEST_F(GameManagerTest, ClockSetBackNeverSleepsMoreThanAFrame) {
  start("");
  new Stepper([this](int step) {
    if (step == 1) clock.now_ms -= 10 * 60000;
    clock.now_ms += 5;
    if (step == 2) game.setGameOver();
  });
  game.run();
  game.shutDown();
  ASSERT_EQ(clock.sleeps.size(), 3u);
  EXPECT_EQ(clock.sleeps[1], 33);
  EXPECT_EQ(clock.sleeps[2], 28);
}

TEST_F(GameManagerTest, TurnOfTheMonthNeverSleepsMoreThanAFrame) {
  start("");
  clock.now_ms = 31 * DAY_MS - 3;  // day 31, 23:59:59.997; 5 ms of work crosses into day 1
  workFor({5, 5, 5, 5});
  game.run();
  game.shutDown();
  ASSERT_FALSE(clock.sleeps.empty());
  EXPECT_LE(*std::max_element(clock.sleeps.begin(), clock.sleeps.end()), 33);
}

TEST_F(GameManagerTest, GameOverInAStepHandlerFinishesTheIteration) {
  start("");
  Stepper* stepper = workFor({5});
  stepper->setVelocity(Vector(1.0f, 0.0f));
  game.run();
  EXPECT_EQ(game.getStepCount(), 1);
  EXPECT_FLOAT_EQ(stepper->getPosition().getX(), 2.0f);  // the world update still ran
  EXPECT_EQ(clock.sleeps, std::vector<int>{28});        // and the frame was slept out
  game.shutDown();
}

TEST_F(GameManagerTest, EachRunRestartsStepNumbers) {
  start("");
  Stepper* stepper = new Stepper([this](int step) {
    if (step == 1) game.setGameOver();
  });
  game.run();
  game.run();
  EXPECT_EQ(stepper->steps, (std::vector<int>{0, 1, 0, 1}));
  game.shutDown();
}

TEST_F(GameManagerTest, StepCountIsRightAlignedInTheLinePrefix) {
  start("frame_time:0,");
  new Stepper([this](int step) {
    if (step == 7 || step == 12345) LogManager::getInstance().writeLog("at step %d", step);
    if (step == 12345) game.setGameOver();
  });
  game.run();
  game.shutDown();
  // The time prefix is 9 characters; the step field follows.
  const std::string text = logText();
  EXPECT_NE(text.find("    7 at step 7\n"), std::string::npos);
  EXPECT_NE(text.find(" 12345 at step 12345\n"), std::string::npos);
  EXPECT_EQ(text.find("   12345 at step"), std::string::npos);
}

TEST_F(GameManagerTest, BannerAndStopLinesFrameTheLog) {
  start("", false);
  game.shutDown();
  const std::vector<std::string> lines = logMessages();
  const std::string stars(52, '*');
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
            (std::vector<std::string>{stars, "** Tolvex version 4.16 **",
                                      "** Game engine started **", stars}));
  EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
            (std::vector<std::string>{stars, "** Game engine stopped **"}));
}

// Only the start and stop lines of the game manager, in the order they were written.
std::vector<std::string> startStopLines(const std::vector<std::string>& lines) {
  auto endsWith = [](const std::string& line, const std::string& end) {
    return line.size() >= end.size() && line.compare(line.size() - end.size(), end.size(), end) == 0;
  };
  std::vector<std::string> kept;
  for (const std::string& line : lines)
    if (line == "Log Manager started." || endsWith(line, " manager started.") ||
        endsWith(line, " manager stopped"))
      kept.push_back(line);
  return kept;
}

TEST_F(GameManagerTest, ManagersStopInTheReverseOrderOfStartWithAWindow) {
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display (run under xvfb-run)";
  writeFile("tx-config.txt", "random_seed:-1,\n");
  LogManager::getInstance().setLogLevel(1);
  ASSERT_EQ(game.startUp(), 0);
  game.shutDown();
  EXPECT_EQ(startStopLines(logMessages()),
            (std::vector<std::string>{
                "Log Manager started.", "Display manager started.", "Input manager started.",
                "Resource manager started.", "World manager started.", "Path manager started.",
                "Path manager stopped", "World manager stopped", "Resource manager stopped",
                "Input manager stopped", "Display manager stopped"}));
}

TEST_F(GameManagerTest, NetworkManagerRunsOnlyWhenConfigured) {
  LogManager::getInstance().setLogLevel(1);
  start("networking:true,");
  workFor({5, 5});
  game.run();
  game.shutDown();
  EXPECT_EQ(startStopLines(logMessages()),
            (std::vector<std::string>{
                "Log Manager started.", "Display manager started.", "Input manager started.",
                "Network manager started.", "Resource manager started.", "World manager started.",
                "Path manager started.", "Path manager stopped", "World manager stopped",
                "Resource manager stopped", "Network manager stopped", "Input manager stopped",
                "Display manager stopped"}));
}

TEST_F(GameManagerTest, ConfiguredSeedSeedsTheGenerator) {
  std::srand(42);
  const int expected = std::rand();
  LogManager::getInstance().setLogLevel(10);
  start("random_seed:42,", false);
  EXPECT_EQ(std::rand(), expected);
  game.shutDown();
  EXPECT_TRUE(logHas("GameManager()::startUp(): srand() seed with 42"));
}

TEST_F(GameManagerTest, SeedMinusOneLeavesTheGeneratorAlone) {
  LogManager::getInstance().setLogLevel(10);
  start("random_seed:-1,", false);
  game.shutDown();
  for (const std::string& line : logMessages())
    EXPECT_EQ(line.find("srand()"), std::string::npos) << line;
}

TEST_F(GameManagerTest, SeedZeroSeedsFromTheCalendarTime) {
  LogManager::getInstance().setLogLevel(10);
  start("", false);
  game.shutDown();
  const std::string prefix = "GameManager()::startUp(): srand() seed with ";
  std::vector<std::string> seeds;
  for (const std::string& line : logMessages())
    if (line.compare(0, prefix.size(), prefix) == 0) seeds.push_back(line.substr(prefix.size()));
  ASSERT_EQ(seeds.size(), 1u);
  EXPECT_NE(seeds[0], "0");
  EXPECT_EQ(seeds[0], std::to_string(std::stoll(seeds[0])));
}

TEST_F(GameManagerTest, StartingTwiceSucceedsWithANote) {
  start("", false);
  EXPECT_EQ(game.startUp(), 0);
  game.shutDown();
  EXPECT_EQ(logCount("GameManager::startup(): Already started."), 1);
  EXPECT_EQ(logCount("** Game engine started **"), 1);
}

TEST_F(GameManagerTest, LogThatCannotOpenFailsStartUp) {
  setenv("TOLVEX_LOG", dir.c_str(), 1);  // a directory
  testing::internal::CaptureStderr();
  EXPECT_EQ(game.startUp(), -1);
  game.shutDown();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Error starting log manager!"), std::string::npos);
  EXPECT_FALSE(game.isStarted());
}

TEST_F(GameManagerTest, FailedManagerStopsTheStartUp) {
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display (run under xvfb-run)";
  writeFile("tx-config.txt", "font_file:" + path("missing.ttf") + ",\n");
  LogManager::getInstance().setLogLevel(1);
  EXPECT_EQ(game.startUp(), -1);
  EXPECT_FALSE(game.isStarted());
  game.shutDown();
  EXPECT_TRUE(logHas("Error starting display manager!"));
  EXPECT_FALSE(logHas("Input manager started."));
  EXPECT_TRUE(logHas("** Game engine stopped **"));
}

}  // namespace
}  // namespace tx
