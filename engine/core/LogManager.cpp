#include "tolvex/core/LogManager.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <utility>
#include <vector>

#include "tolvex/core/Config.h"
#include "tolvex/core/GameManager.h"

namespace tx {

LogManager::LogManager() {
  setType("LogManager");
  // The line prefix reads the game manager's step count, so it must outlive the log at exit.
  GameManager::getInstance();
}

LogManager::~LogManager() {
  if (file != nullptr) std::fclose(file);
  file = nullptr;
  for (auto& entry : extra_files)
    if (entry.second != nullptr) std::fclose(entry.second);
  extra_files.clear();
}

LogManager& LogManager::getInstance() {
  static LogManager log_manager;
  return log_manager;
}

int LogManager::startUp() {
  if (isStarted()) {
    writeLog("LogManager::startup(): Warning! LogManager already started.");
    return -1;
  }
  // An empty TOLVEX_LOG names no file, so it counts as unset.
  const char* from_environment = std::getenv("TOLVEX_LOG");
  file_name = from_environment != nullptr && *from_environment != '\0'
                  ? from_environment
                  : Config::getInstance().getLogFile();
  if (isConfigFile(file_name)) {
    writeLog("LogManager::startup(): Error! Log file '%s' is the configuration file.",
             file_name.c_str());
    return -1;
  }
  file = std::fopen(file_name.c_str(), "w");
  if (file == nullptr) {
    writeLog("LogManager::startup(): Warning! Unable to open file '%s'.", file_name.c_str());
    return -1;
  }
  // What was said before the file opened (the configuration's warnings) belongs in it too.
  for (const std::string& line : early_lines) std::fwrite(line.data(), 1, line.size(), file);
  early_lines.clear();
  opened = true;
  Manager::startUp();
  writeLog(5, "LogManager::startUp(): successfully started.");
  return 0;
}

void LogManager::shutDown() {
  Manager::shutDown();
  writeLog(5, "LogManager::shutDown(): successfully stopped.");
  if (file != nullptr) std::fclose(file);
  file = nullptr;
  for (auto& entry : extra_files)
    if (entry.second != nullptr) std::fclose(entry.second);
  extra_files.clear();
}

// Opening the log truncates it: it must never be the file the settings came from.
bool LogManager::isConfigFile(const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path config_file = Config::getInstance().getConfigFile();
  std::error_code error;
  if (fs::equivalent(name, config_file, error)) return true;
  const fs::path log_path = fs::absolute(name, error).lexically_normal();
  return !error && log_path == fs::absolute(config_file, error).lexically_normal();
}

// Lines written before flushing was asked for go out now too: a program that dies later (a
// signal during the splash) still leaves them.
void LogManager::setFlush(bool new_do_flush) {
  do_flush = new_do_flush;
  if (do_flush && file != nullptr) std::fflush(file);
}

int LogManager::writeLog(const char* fmt, ...) const {
  va_list args;
  va_start(args, fmt);
  const int written = writeLine(fmt, args);
  va_end(args);
  return written;
}

int LogManager::writeLog(int level, const char* fmt, ...) const {
  if (level > log_level) return 0;
  va_list args;
  va_start(args, fmt);
  const int written = writeLine(fmt, args);
  va_end(args);
  return written;
}

int LogManager::writeLine(const char* fmt, va_list args) const {
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, fmt, measure);
  va_end(measure);
  if (length < 0) return -1;
  std::vector<char> message(static_cast<std::size_t>(length) + 1);
  std::vsnprintf(message.data(), message.size(), fmt, args);

  std::string line;
  if (log_time_string) line += std::string(getTimeString()) + " ";
  if (log_step_count) {
    char step[16];
    std::snprintf(step, sizeof step, "%4d ", GameManager::getInstance().getStepCount());
    line += step;
  }
  line.append(message.data(), static_cast<std::size_t>(length));
  line += '\n';

  std::FILE* target = file != nullptr ? file : stderr;
  bool failed = std::fwrite(line.data(), 1, line.size(), target) != line.size();
  if (do_flush && std::fflush(target) != 0) failed = true;
  if (file == nullptr && !opened && early_lines.size() < MAX_EARLY_LINES)
    early_lines.push_back(std::move(line));
  return failed ? -1 : length;
}

const char* getTimeString() {
  static char buffer[32];
  const std::time_t now = std::time(nullptr);
  const std::tm* local = now == static_cast<std::time_t>(-1) ? nullptr : std::localtime(&now);
  if (local == nullptr)
    std::snprintf(buffer, sizeof buffer, "(time error)");
  else
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", local->tm_hour, local->tm_min,
                  local->tm_sec);
  return buffer;
}

}  // namespace tx
