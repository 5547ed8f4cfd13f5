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
#include "network/NetworkManager.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

namespace fs = std::filesystem;

using Entry = int (*)(const std::uint8_t*, std::size_t);

// The kept inputs of a target's folder ("seeds" or "regressions"), sorted; none when absent.
std::vector<fs::path> keptInputs(const std::string& target, const char* kind) {
  std::vector<fs::path> inputs;
  const fs::path from = fs::path(TOLVEX_SOURCE_DIR) / "fuzz" / target / kind;
  if (fs::is_directory(from))
    for (const auto& entry : fs::directory_iterator(from))
      if (entry.is_regular_file()) inputs.push_back(entry.path());
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

class FuzzRegressionTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    writeFile("tx-config.txt", "headless:true,\nrandom_seed:1,\n");
    ASSERT_EQ(fuzz::startEngine(dir), 0);
    LogManager::getInstance().setFlush(true);
  }
  // Feeds seeds, then regressions, to the entry; the number of inputs fed.
  static int replay(const std::string& target, Entry entry) {
    int fed = 0;
    for (const char* kind : {"seeds", "regressions"})
      for (const fs::path& input : keptInputs(target, kind)) {
        SCOPED_TRACE(input.string());
        const std::string bytes = readFile(input.string());
        entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++fed;
      }
    return fed;
  }
};

TEST_F(FuzzRegressionTest, SpriteLoaderSurvivesKeptInputsAndLoadsEverySeed) {
  EXPECT_GT(replay("sprite", fuzz::feedSprite), 0);
  EXPECT_EQ(logCount("RM::loadSprite(): Sprite 'fuzz-input' loaded."),
            static_cast<int>(keptInputs("sprite", "seeds").size()));
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
  Object probe;
  EXPECT_GT(probe.getId(), 0);
}

TEST_F(FuzzRegressionTest, MessageFramingSurvivesKeptInputsAndReleasesEachConnection) {
  EXPECT_GT(replay("network", fuzz::feedNetwork), 0);
  EXPECT_EQ(NetworkManager::getInstance().getNumConnected(), 0);
  EXPECT_FALSE(logHas("NetworkManager::accept(): Error! Not setup as server."));
}

}  // namespace
}  // namespace tx::test
