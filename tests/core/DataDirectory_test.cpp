#include "tolvex/core/DataDirectory.h"

#include <unistd.h>

#include <filesystem>

#include "TestSupport.h"
#include "tolvex/core/Config.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/display/ResourceManager.h"

namespace tx::test {
namespace {

namespace fs = std::filesystem;

using DataDirectoryTest = EngineTest;

// Relative names are read in the configured directory; absolute ones stay as they are.
TEST_F(DataDirectoryTest, TheConfiguredDirectoryHoldsTheGamesFilesFromAnyWorkingDirectory) {
  fs::create_directories(path("data/sprites"));
  fs::copy(TOLVEX_SOURCE_DIR "/sprites/player.txt", path("data/sprites/player.txt"));
  writeFile("tx-config.txt", "headless:true,\ndata_dir:" + path("data") + ",\n");
  DataDirectory::getInstance().setBuildDirectory(TOLVEX_SOURCE_DIR);
  ASSERT_EQ(chdir("/"), 0);
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  ResourceManager& resources = ResourceManager::getInstance();
  EXPECT_EQ(resources.loadSprite("sprites/player.txt", "player"), 0);
  EXPECT_EQ(resources.loadSprite(TOLVEX_SOURCE_DIR "/sprites/floor.txt", "floor"), 0);
  GameManager::getInstance().shutDown();
  EXPECT_TRUE(
      logHas("RM::loadSprite(): Loading sprite '" + path("data/sprites/player.txt") + "'."));
}

// On the terminal, as the log is not open yet at start-up; names then stay as given.
TEST_F(DataDirectoryTest, AMissingDataDirectoryIsReportedNamingEveryPlaceLooked) {
  DataDirectory& data = DataDirectory::getInstance();
  data.setBuildDirectory(path("gone"));
  const std::string installed =
      (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "share/test_core").string();
  std::string message = stderrOf([&] { EXPECT_EQ(data.choose(), -1); });
  EXPECT_EQ(stripLogPrefix(message),
            "DataDirectory::choose(): Error! No data directory: looked in '" + installed +
                "' and '" + path("gone") + "'. Data files are read from the working directory.\n");
  EXPECT_EQ(data.resolve("sounds/a.wav"), "sounds/a.wav");

  // A configured directory is the only place looked, even with a build directory at hand.
  data.setBuildDirectory(TOLVEX_SOURCE_DIR);
  Config::getInstance().loadConfig("data_dir:" + path("typo") + ",");
  message = stderrOf([&] { EXPECT_EQ(data.choose(), -1); });
  EXPECT_NE(message.find("looked in '" + path("typo") + "'."), std::string::npos) << message;
}

TEST_F(DataDirectoryTest, TheGamesOwnFontReplacesTheEnginesFont) {
  DataDirectory& data = DataDirectory::getInstance();
  data.setBuildDirectory(dir);
  ASSERT_EQ(data.choose(), 0);
  EXPECT_TRUE(fs::exists(data.resolveEngineFile("tx-font.ttf")));
  writeFile("tx-font.ttf", "");
  EXPECT_EQ(data.resolveEngineFile("tx-font.ttf"), path("tx-font.ttf"));
  EXPECT_EQ(data.resolveEngineFile("other.ttf"), path("other.ttf"));
}

}  // namespace
}  // namespace tx::test
