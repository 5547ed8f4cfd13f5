#pragma once

// Where a benchmark keeps its configuration and log: a directory of its own under /tmp, named
// by TOLVEX_CONFIG and TOLVEX_LOG, so that nothing in the working directory is read or replaced.
// No sound device is needed to time anything.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace bench {

// Makes /tmp/tolvex-bench-NAME holding a tx-config.txt of the text given; its path.
inline std::string useScratch(const std::string& name, const std::string& config) {
  const std::string dir = "/tmp/tolvex-bench-" + name;
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/tx-config.txt") << config;
  setenv("TOLVEX_CONFIG", (dir + "/tx-config.txt").c_str(), 1);
  setenv("TOLVEX_LOG", (dir + "/tolvex.log").c_str(), 1);
  setenv("ALSOFT_DRIVERS", "null", 0);
  return dir;
}

}  // namespace bench
