#include "core/LogManager.h"

#include <cctype>
#include <string>

#include "TestSupport.h"
#include "core/Config.h"

namespace tx {
namespace {

// True when text starts with a "HH:MM:SS " time prefix.
bool hasTimePrefix(const std::string& text) {
  if (text.size() < 9) return false;
  for (int i : {0, 1, 3, 4, 6, 7})
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  return text[2] == ':' && text[5] == ':' && text[8] == ' ';
}

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

TEST_F(LogManagerTest, LineIsTimeStepCountAndMessage) {
  ASSERT_EQ(log.startUp(), 0);
  EXPECT_EQ(log.writeLog("value %s", "x"), 7);
  log.shutDown();
  const std::string text = logText();
  EXPECT_TRUE(hasTimePrefix(text)) << text;
  EXPECT_EQ(text.substr(9), "   0 value x\n");
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
  EXPECT_TRUE(hasTimePrefix(before)) << before;
  EXPECT_EQ(before.substr(9), "   0 before start\n");

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
  const std::string time = getTimeString();
  EXPECT_EQ(time.size(), 8u);
  EXPECT_TRUE(hasTimePrefix(time + " ")) << time;
  EXPECT_LE(std::stoi(time.substr(0, 2)), 23);
  EXPECT_LE(std::stoi(time.substr(3, 2)), 59);
}

}  // namespace
}  // namespace tx
