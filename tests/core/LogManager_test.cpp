#include "core/LogManager.h"

#include <regex>
#include <string>

#include "TestSupport.h"
#include "core/Config.h"

namespace tx {
namespace {

class LogManagerTest : public test::EngineTest {
 protected:
  LogManager& log = LogManager::getInstance();
};

TEST_F(LogManagerTest, LogFileFromEnvironmentWinsOverConfiguration) {
  Config::getInstance().loadConfig("logfile:" + path("configured.log") + ",");
  ASSERT_EQ(log.startUp(), 0);
  log.writeLog("hello %d", 7);
  log.shutDown();
  EXPECT_TRUE(logHas("hello 7"));
  EXPECT_TRUE(test::readFile(path("configured.log")).empty());
}

TEST_F(LogManagerTest, ConfiguredNameIsUsedWithoutEnvironment) {
  unsetenv("TOLVEX_LOG");
  Config::getInstance().loadConfig("logfile:" + path("configured.log") + ",");
  ASSERT_EQ(log.startUp(), 0);
  log.writeLog("into the configured file");
  log.shutDown();
  EXPECT_EQ(test::stripLogPrefix(test::readFile(path("configured.log"))),
            "into the configured file\n");
}

TEST_F(LogManagerTest, StartTruncatesTheFile) {
  writeFile("tolvex.log", "old line\n");
  ASSERT_EQ(log.startUp(), 0);
  log.shutDown();
  EXPECT_FALSE(logHas("old line"));
}

TEST_F(LogManagerTest, LineIsTimeStepCountAndMessage) {
  ASSERT_EQ(log.startUp(), 0);
  EXPECT_EQ(log.writeLog("value %s", "x"), 7);
  log.shutDown();
  EXPECT_TRUE(std::regex_match(logText(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]    0 value x\n")))
      << logText();
}

TEST_F(LogManagerTest, LevelledLinesNeedTheLevel) {
  ASSERT_EQ(log.startUp(), 0);
  EXPECT_EQ(log.writeLog(1, "hidden"), 0);
  EXPECT_EQ(log.writeLog("shown"), 5);
  log.setLogLevel(5);
  EXPECT_EQ(log.writeLog(5, "level five"), 10);
  EXPECT_EQ(log.writeLog(6, "level six"), 0);
  log.setLogLevel(0);
  log.shutDown();
  EXPECT_EQ(logMessages(), (std::vector<std::string>{"shown", "level five"}));
}

TEST_F(LogManagerTest, FlushedLineIsOnDiskAtOnce) {
  ASSERT_EQ(log.startUp(), 0);
  log.setFlush(true);
  log.writeLog("now");
  EXPECT_TRUE(logHas("now"));
  log.shutDown();
}

TEST_F(LogManagerTest, StandardErrorBeforeStartAndAfterStop) {
  testing::internal::CaptureStderr();
  log.writeLog("before start");
  const std::string before = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(std::regex_match(before, std::regex("\\d\\d:\\d\\d:\\d\\d    0 before start\n")))
      << before;

  ASSERT_EQ(log.startUp(), 0);
  testing::internal::CaptureStderr();
  log.writeLog("while started");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  log.shutDown();

  testing::internal::CaptureStderr();
  log.writeLog("after stop");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("after stop"), std::string::npos);
  EXPECT_EQ(logMessages(), std::vector<std::string>{"while started"});
}

TEST_F(LogManagerTest, StartingTwiceFails) {
  ASSERT_EQ(log.startUp(), 0);
  EXPECT_EQ(log.startUp(), -1);
  EXPECT_TRUE(log.isStarted());
  log.shutDown();
  EXPECT_TRUE(logHas("LogManager::startup(): Warning! LogManager already started."));
}

TEST_F(LogManagerTest, UnopenableFileFailsOnStandardError) {
  setenv("TOLVEX_LOG", dir.c_str(), 1);  // a directory
  testing::internal::CaptureStderr();
  EXPECT_EQ(log.startUp(), -1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("LogManager::startup(): Warning! Unable to open file '" + dir + "'."),
            std::string::npos);
  EXPECT_FALSE(log.isStarted());
}

TEST_F(LogManagerTest, RestartReopensAndTruncates) {
  ASSERT_EQ(log.startUp(), 0);
  log.writeLog("first run");
  log.shutDown();
  ASSERT_EQ(log.startUp(), 0);
  log.writeLog("second run");
  log.shutDown();
  EXPECT_EQ(logMessages(), std::vector<std::string>{"second run"});
}

TEST(TimeStringTest, IsHoursMinutesSeconds) {
  EXPECT_TRUE(std::regex_match(getTimeString(), std::regex("([01][0-9]|2[0-3]):[0-5][0-9]:[0-6][0-9]")));
}

}  // namespace
}  // namespace tx
