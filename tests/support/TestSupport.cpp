#include "TestSupport.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include <SFML/Audio/SoundBuffer.hpp>

namespace tx::test {

void EngineTest::SetUp() {
  char pattern[] = "/tmp/tolvex-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  ASSERT_NE(made, nullptr);
  dir = made;
  setenv("TOLVEX_LOG", logPath().c_str(), 1);
  setenv("TOLVEX_CONFIG", configPath().c_str(), 1);
}

void EngineTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

std::string EngineTest::writeFile(const std::string& name, const std::string& text) const {
  std::ofstream(path(name), std::ios::binary) << text;
  return path(name);
}

std::string readFile(const std::string& file_path) {
  std::ostringstream text;
  text << std::ifstream(file_path, std::ios::binary).rdbuf();
  return text.str();
}

bool writeWav(const std::string& file_path, int samples) {
  std::vector<sf::Int16> wave(static_cast<std::size_t>(samples));
  for (std::size_t i = 0; i < wave.size(); i++) wave[i] = (i / 50) % 2 == 0 ? 1000 : -1000;
  sf::SoundBuffer buffer;
  return buffer.loadFromSamples(wave.data(), wave.size(), 1, 44100) && buffer.saveToFile(file_path);
}

std::string stripLogPrefix(const std::string& line) {
  // "HH:MM:SS" (or "(time error)"), then the step count right-aligned in four columns.
  static const std::regex prefix(R"(^(\d\d:\d\d:\d\d|\(time error\)) +-?\d+ )");
  return std::regex_replace(line, prefix, "", std::regex_constants::format_first_only);
}

std::vector<std::string> EngineTest::logMessages() const {
  std::vector<std::string> messages;
  std::istringstream in(logText());
  std::string line;
  while (std::getline(in, line)) messages.push_back(stripLogPrefix(line));
  return messages;
}

int EngineTest::logCount(const std::string& message) const {
  const std::vector<std::string> all = logMessages();
  return static_cast<int>(std::count(all.begin(), all.end(), message));
}

std::vector<std::string> EngineTest::logLinesWith(const std::string& part) const {
  std::vector<std::string> kept;
  for (const std::string& line : logMessages())
    if (line.find(part) != std::string::npos) kept.push_back(line);
  return kept;
}

bool waitFor(const std::function<bool()>& condition, int seconds) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (; !condition(); std::this_thread::sleep_for(std::chrono::milliseconds(10)))
    if (std::chrono::steady_clock::now() > give_up) return false;
  return true;
}

std::string stderrOf(const std::function<void()>& run) {
  char name[] = "/tmp/tolvex-stderr-XXXXXX";
  const int file = mkstemp(name);
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  dup2(file, STDERR_FILENO);
  run();
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved), close(file);
  const std::string text = readFile(name);
  std::remove(name);
  return text;
}

}  // namespace tx::test
