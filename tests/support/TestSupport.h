#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tolvex/core/LogManager.h"

namespace tx::test {

// Reads a whole file; empty when it cannot be read.
std::string readFile(const std::string& file_path);

// A private temporary directory per test, with TOLVEX_LOG and TOLVEX_CONFIG naming files in it
// (the configuration absent unless written). Each test starts the managers it needs.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Path of a file inside the test's directory; writeFile writes text to it and returns the path.
  std::string path(const std::string& name) const { return dir + "/" + name; }
  std::string writeFile(const std::string& name, const std::string& text) const;
  std::string configPath() const { return path("tx-config.txt"); }
  std::string logPath() const { return path("tolvex.log"); }

  // The log file's lines with the time and step-count prefixes removed.
  std::vector<std::string> logMessages() const;
  // Whether, and how often, a log line without its prefixes equals message exactly.
  bool logHas(const std::string& message) const { return logCount(message) > 0; }
  int logCount(const std::string& message) const;
  // The log lines (without prefixes) that contain part.
  std::vector<std::string> logLinesWith(const std::string& part) const;
  // The whole log file as it is on disk.
  std::string logText() const { return readFile(logPath()); }

  std::string dir;
};

// The log started, flushing every line so that tests can read it back at once.
class LoggedTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(LogManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
  }
  void TearDown() override {
    LogManager::getInstance().shutDown();
    EngineTest::TearDown();
  }
};

// Polls the condition every 10 ms until it holds; false after the given seconds.
bool waitFor(const std::function<bool()>& condition, int seconds = 5);
// What the process writes to standard error while run runs.
std::string stderrOf(const std::function<void()>& run);
// Removes the "HH:MM:SS " time and "%4d " step prefixes from one log line.
std::string stripLogPrefix(const std::string& line);
// Writes a quiet 16-bit mono WAV file of so many samples at 44100 a second; false on failure.
bool writeWav(const std::string& file_path, int samples = 4410);

}  // namespace tx::test
