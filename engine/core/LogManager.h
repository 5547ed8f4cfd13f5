#pragma once

#include <cstdarg>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tolvex/core/Manager.h"

namespace tx {

// The engine's one reporting channel: single lines prefixed with the local time and the step
// count, written to the log file while started and to standard error otherwise. Lines written
// before the file first opens (the configuration is read before the log, which it names) are
// also kept, up to MAX_EARLY_LINES, and begin the file when it opens.
class LogManager : public Manager {
 public:
  // The process-wide log manager; it writes to standard error until started.
  static LogManager& getInstance();
  ~LogManager() override;
  LogManager(const LogManager&) = delete;
  LogManager& operator=(const LogManager&) = delete;

  // Opens (and truncates) the file named by TOLVEX_LOG (unless empty), else the configured log
  // file. -1, with a line on standard error, when it cannot be opened or is the configuration
  // file.
  int startUp() override;
  // Closes the log file; later lines go to standard error.
  void shutDown() override;
  // The file the last startUp() opened or tried to open; empty before.
  std::string getFileName() const { return file_name; }

  // When true every line is flushed as soon as it is written, starting with those already
  // written.
  void setFlush(bool do_flush = true);
  // Levelled lines are written when their level is at most this; 0 (the default) writes none
  // of them, since every levelled line has level 1 or more.
  void setLogLevel(int new_log_level) { log_level = new_log_level; }
  int getLogLevel() const { return log_level; }

  // How many lines written before the log file first opens are kept for it.
  static constexpr std::size_t MAX_EARLY_LINES = 100;

  // Always writes one line. Returns the length of the formatted message, or -1 on a failed write.
  int writeLog(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
  // Writes one line only when level <= the log level; otherwise returns 0.
  int writeLog(int level, const char* fmt, ...) const __attribute__((format(printf, 3, 4)));

 private:
  LogManager();
  // Whether name is the configuration file (Config::getConfigFile()), however written.
  static bool isConfigFile(const std::string& name);
  int writeLine(const char* fmt, va_list args) const;

  bool do_flush = false;
  int log_level = 0;
  bool log_time_string = true;
  bool log_step_count = true;
  std::FILE* file = nullptr;
  std::string file_name;
  std::map<std::string, std::FILE*> extra_files;
  // Whether a file has been opened yet; until then lines are kept for it.
  bool opened = false;
  mutable std::vector<std::string> early_lines;
};

// The local time as "HH:MM:SS" in a static buffer overwritten by each call; "(time error)" when
// the time cannot be read.
const char* getTimeString();

}  // namespace tx
