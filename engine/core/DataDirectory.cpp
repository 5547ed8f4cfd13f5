#include "tolvex/core/DataDirectory.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "tolvex/core/Config.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/platform/ProgramPath.h"

namespace tx {

namespace {

namespace fs = std::filesystem;

bool isPresent(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

bool isDirectory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// <program's directory>/../share/<name>, where the install layout keeps data files; the name
// is the program's own unless given. Empty when the program's path is unknown.
std::string besideProgram(const std::string& name = std::string()) {
  const fs::path program = programPath();
  if (program.empty()) return std::string();
  const fs::path directory = name.empty() ? program.filename() : fs::path(name);
  return (program.parent_path().parent_path() / "share" / directory).lexically_normal().string();
}

// Where the engine's own files may be: beside an installed program, where this build of the
// engine installs them, and its source tree.
const std::vector<std::string>& engineDirectories() {
  static const std::vector<std::string> directories = {
      besideProgram("tolvex"), TOLVEX_INSTALL_DATA_DIR, TOLVEX_ENGINE_SOURCE_DIR};
  return directories;
}

// Where choose() looks, in order: the configured directory alone when there is one; an empty
// build directory is the working directory.
std::vector<std::string> dataCandidates(const std::string& build_directory) {
  const std::string configured = Config::getInstance().getDataDir();
  if (!configured.empty()) return {configured};
  std::vector<std::string> candidates;
  const std::string installed = besideProgram();
  if (!installed.empty()) candidates.push_back(installed);
  candidates.push_back(build_directory);
  return candidates;
}

// 'a', 'b' and 'c'.
std::string quotedList(const std::vector<std::string>& places) {
  std::string text;
  for (std::size_t i = 0; i < places.size(); ++i) {
    if (i > 0) text += i + 1 == places.size() ? " and " : ", ";
    text += "'" + places[i] + "'";
  }
  return text;
}

}  // namespace

DataDirectory& DataDirectory::getInstance() {
  static DataDirectory data_directory;
  return data_directory;
}

void DataDirectory::setBuildDirectory(std::string directory) {
  build_directory = std::move(directory);
}

int DataDirectory::choose() {
  const std::vector<std::string> candidates = dataCandidates(build_directory);
  for (const std::string& candidate : candidates) {
    if (isDirectory(candidate.empty() ? "." : candidate)) {
      path = candidate;
      return 0;
    }
  }
  path.clear();
  LogManager::getInstance().writeLog(
      "DataDirectory::choose(): Error! No data directory: looked in %s. Data files are read "
      "from the working directory.",
      quotedList(candidates).c_str());
  return -1;
}

std::string DataDirectory::resolve(const std::string& name) const {
  if (path.empty() || name.empty() || fs::path(name).is_absolute()) return name;
  return (fs::path(path) / name).string();
}

std::string DataDirectory::resolveEngineFile(const std::string& name) const {
  std::string in_data = resolve(name);
  if (isPresent(in_data) || fs::path(name).is_absolute()) return in_data;
  for (const std::string& directory : engineDirectories()) {
    const fs::path in_engine = fs::path(directory) / name;
    if (!directory.empty() && isPresent(in_engine)) return in_engine.string();
  }
  return in_data;
}

}  // namespace tx
