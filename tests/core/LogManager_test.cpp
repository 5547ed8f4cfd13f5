#include "tolvex/core/LogManager.h"

#include <regex>

#include "TestSupport.h"
#include "tolvex/core/Config.h"

namespace tx::test {
namespace {

using LogManagerTest = EngineTest;

// Standard error before start and after stop; earlier lines begin the file; TOLVEX_LOG wins.
TEST_F(LogManagerTest, WholeLinesUpToTheLevelInTheChosenFile) {
  LogManager& log = LogManager::getInstance();
  Config::getInstance().loadConfig("logfile:" + path("configured.log") + ",");
  const std::string err = stderrOf([&] {
    log.writeLog("before start");
    ASSERT_EQ(log.startUp(), 0);
    log.writeLog("first run");
    log.shutDown();
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"before start", "first run"}));
    ASSERT_EQ(log.startUp(), 0);
    EXPECT_EQ(log.writeLog("value %s", "x") + log.writeLog(1, "hidden"), 7);
    log.setLogLevel(5);
    EXPECT_EQ(log.writeLog(5, "level five") + log.writeLog(6, "level six"), 10);
    log.setLogLevel(0);  // Hides the manager's own level-5 start and stop lines.
    EXPECT_EQ(log.startUp(), -1);
    log.writeLog("now");
    log.setFlush(true);  // Lines already written go out too: the start-up lines before the splash.
    EXPECT_TRUE(logHas("now"));
    log.shutDown();
    log.writeLog("after stop");
  });
  const std::string line = R"(\d\d:\d\d:\d\d    0 )";  // the time, then step 0 in four columns
  EXPECT_TRUE(std::regex_match(err, std::regex(line + "before start\n" + line + "after stop\n")));
  EXPECT_EQ(logMessages(),
            (std::vector<std::string>{"value x", "level five",
                                      "LogManager::startup(): Warning! LogManager already started.",
                                      "now"}));
  EXPECT_TRUE(readFile(path("configured.log")).empty());
  for (const bool empty : {false, true}) {  // an empty name is no name
    empty ? setenv("TOLVEX_LOG", "", 1) : unsetenv("TOLVEX_LOG");
    ASSERT_EQ(log.startUp(), 0);
    log.writeLog("into the configured file");
    log.shutDown();
    EXPECT_EQ(stripLogPrefix(readFile(path("configured.log"))), "into the configured file\n");
  }
  // Opening the configuration file as the log, however named, would empty it.
  writeFile("tx-config.txt", "frame_time:20,");
  for (const std::string& name : {dir, configPath(), dir + "/./tx-config.txt"}) {
    Config::getInstance().loadConfig("logfile:" + name + ",");
    EXPECT_EQ(stripLogPrefix(stderrOf([&] { EXPECT_EQ(log.startUp(), -1); })),
              "LogManager::startup(): " +
                  (name == dir ? "Warning! Unable to open file '" + name + "'.\n"
                               : "Error! Log file '" + name + "' is the configuration file.\n"));
  }
  EXPECT_EQ(readFile(configPath()), "frame_time:20,");
}

}  // namespace
}  // namespace tx::test
