// Replays every kept fuzzing input (seeds and inputs that once made a fuzz target fail) through
// the same entry points the fuzz targets drive, in the normal build.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzEntries.h"
#include "TestSupport.h"
#include "core/Config.h"
#include "core/LogManager.h"
#include "network/NetworkManager.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

namespace fs = std::filesystem;

using Entry = int (*)(const std::uint8_t*, std::size_t);

class FuzzRegressionTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    writeFile("tx-config.txt", "headless:true,\nrandom_seed:1,\n");
    ASSERT_EQ(fuzz::startEngine(dir), 0);
    // The assertions read the log file while the engine still runs.
    LogManager::getInstance().setFlush(true);
  }

  // Kept inputs of one target, seeds first; fails when there are none (a moved directory).
  static std::vector<fs::path> keptInputs(const std::string& target) {
    std::vector<fs::path> inputs;
    for (const char* kind : {"seeds", "regressions"}) {
      const fs::path from = fs::path(TOLVEX_SOURCE_DIR) / "fuzz" / target / kind;
      if (!fs::is_directory(from)) continue;
      std::vector<fs::path> here;
      for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
          here.push_back(entry.path());
      std::sort(here.begin(), here.end());
      inputs.insert(inputs.end(), here.begin(), here.end());
    }
    return inputs;
  }

  static int replay(const std::string& target, Entry entry) {
    const std::vector<fs::path> inputs = keptInputs(target);
    for (const fs::path& input : inputs) {
      SCOPED_TRACE(input.string());
      const std::string bytes = readFile(input.string());
      entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    return static_cast<int>(inputs.size());
  }

  static int seedCount(const std::string& target) {
    int count = 0;
    for (const auto& entry :
         fs::directory_iterator(fs::path(TOLVEX_SOURCE_DIR) / "fuzz" / target / "seeds"))
      count += entry.is_regular_file() ? 1 : 0;
    return count;
  }
};

TEST_F(FuzzRegressionTest, SpriteLoaderSurvivesKeptInputsAndLoadsEverySeed) {
  EXPECT_GT(replay("sprite", fuzz::feedSprite), 0);
  EXPECT_EQ(logCount("RM::loadSprite(): Sprite 'fuzz-input' loaded."), seedCount("sprite"));
}

TEST_F(FuzzRegressionTest, ConfigurationReaderSurvivesKeptInputsAndRestoresSettings) {
  EXPECT_GT(replay("config", fuzz::feedConfig), 0);
  EXPECT_TRUE(Config::getInstance().getHeadless());
  EXPECT_EQ(Config::getInstance().getFrameTime(), 33);
}

TEST_F(FuzzRegressionTest, DeserializationSurvivesKeptInputsAndEmptiesTheWorld) {
  EXPECT_GT(replay("serialization", fuzz::feedSerialization), 0);
  EXPECT_EQ(WorldManager::getInstance().getAllObjects(true).getCount(), 0);
  // An id read near the top of the range must not make the id counter wrap.
  Object* probe = new Object;
  EXPECT_GT(probe->getId(), 0);
  delete probe;
}

TEST_F(FuzzRegressionTest, MessageFramingSurvivesKeptInputsAndReleasesEachConnection) {
  EXPECT_GT(replay("network", fuzz::feedNetwork), 0);
  EXPECT_EQ(NetworkManager::getInstance().getNumConnected(), 0);
  EXPECT_FALSE(logHas("NetworkManager::accept(): Error! Not setup as server."));
}

}  // namespace
}  // namespace tx::test
