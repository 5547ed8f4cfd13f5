#include "TestSupport.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

std::string EngineTest::path(const std::string& name) const { return dir + "/" + name; }

std::string EngineTest::writeFile(const std::string& name, const std::string& text) const {
  const std::string file_path = path(name);
  std::ofstream out(file_path, std::ios::binary);
  out << text;
  return file_path;
}

std::string readFile(const std::string& file_path) {
  std::ifstream in(file_path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool writeWav(const std::string& file_path, int samples) {
  std::vector<sf::Int16> wave(static_cast<std::size_t>(samples));
  for (std::size_t i = 0; i < wave.size(); i++) wave[i] = (i / 50) % 2 == 0 ? 1000 : -1000;
  sf::SoundBuffer buffer;
  return buffer.loadFromSamples(wave.data(), wave.size(), 1, 44100) && buffer.saveToFile(file_path);
}

std::string stripLogPrefix(const std::string& line) {
  std::size_t at = 0;
  // "HH:MM:SS " or "(time error) "
  const std::size_t time_end = line.find(' ');
  if (time_end == std::string::npos) return line;
  at = time_end + 1;
  if (line.compare(0, 12, "(time error)") == 0) at = 13;
  // Step count right-aligned in at least four columns, then one blank.
  std::size_t digits = at;
  while (digits < line.size() && line[digits] == ' ') ++digits;
  while (digits < line.size() &&
         (std::isdigit(static_cast<unsigned char>(line[digits])) || line[digits] == '-'))
    ++digits;
  if (digits < line.size() && line[digits] == ' ') return line.substr(digits + 1);
  return line.substr(at);
}

std::vector<std::string> EngineTest::logMessages() const {
  std::vector<std::string> messages;
  std::istringstream in(logText());
  std::string line;
  while (std::getline(in, line)) messages.push_back(stripLogPrefix(line));
  return messages;
}

bool EngineTest::logHas(const std::string& message) const { return logCount(message) > 0; }

int EngineTest::logCount(const std::string& message) const {
  int count = 0;
  for (const std::string& line : logMessages())
    if (line == message) ++count;
  return count;
}

StderrCapture::StderrCapture() {
  char pattern[] = "/tmp/tolvex-stderr-XXXXXX";
  const int fd = mkstemp(pattern);
  if (fd == -1) return;
  file_path = pattern;
  std::fflush(stderr);
  saved = dup(STDERR_FILENO);
  dup2(fd, STDERR_FILENO);
  close(fd);
}

StderrCapture::~StderrCapture() { text(); }

std::string StderrCapture::text() {
  if (saved != -1) {
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    saved = -1;
  }
  const std::string captured = readFile(file_path);
  if (!file_path.empty()) std::remove(file_path.c_str());
  file_path.clear();
  return captured;
}

std::string EngineTest::logText() const { return readFile(logPath()); }

}  // namespace tx::test
