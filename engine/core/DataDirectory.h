#pragma once

#include <string>

namespace tx {

// The directory a game's data files are in. The resource manager and the display manager look
// relative sprite, sound, music and font names up there, so a game finds its files whatever the
// working directory; the log, the configuration file and input recordings stay relative to the
// working directory. The engine's own font, when the data directory lacks it, is found where
// Tolvex is installed or was built.
class DataDirectory {
 public:
  // The process-wide data directory; the working directory until choose() runs.
  static DataDirectory& getInstance();
  DataDirectory(const DataDirectory&) = delete;
  DataDirectory& operator=(const DataDirectory&) = delete;

  // Names the directory that holds the game's files while it runs from its build, usually its
  // source directory as its CMakeLists.txt knows it. Empty, the default, stands for the working
  // directory. Call before the game manager starts.
  void setBuildDirectory(std::string directory);

  // Chooses the data directory; the game manager does so at start-up, once the configuration is
  // read. It is the configuration's "data_dir" when that is set; otherwise the first that exists
  // of <program's directory>/../share/<program's name>, where an installed game keeps its files,
  // and the build directory. 0; or -1 after one log line naming every place looked, the working
  // directory standing in.
  int choose();

  // The chosen directory; empty for the working directory.
  std::string getPath() const { return path; }

  // Where the data file name is: name itself when absolute or when the working directory stands
  // in, else name in the data directory.
  std::string resolve(const std::string& name) const;
  // As resolve, for a file the engine brings (its font) and a game may replace: when the data
  // directory lacks it, the first of the engine's own directories that has it; the data
  // directory's path when none does, so that a failed load names the place it looked.
  std::string resolveEngineFile(const std::string& name) const;

 private:
  DataDirectory() = default;

  std::string build_directory;
  std::string path;
};

}  // namespace tx
