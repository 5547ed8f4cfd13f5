// Replays every kept fuzzing input (seeds and inputs that once made a fuzz target fail) through
// the same entry points the fuzz targets drive, in the normal build.
#include <algorithm>
#include <filesystem>

#include "FuzzEntries.h"
#include "TestSupport.h"
#include "tolvex/core/Config.h"
#include "tolvex/network/NetworkManager.h"
#include "tolvex/world/WorldManager.h"

namespace tx::test {
namespace {

namespace fs = std::filesystem;

class FuzzRegressionTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    writeFile("tx-config.txt", "headless:true,\nrandom_seed:1,\n");
    ASSERT_EQ(fuzz::startEngine(dir), 0);
    LogManager::getInstance().setFlush(true);
  }
  // The kept inputs of a target's folder, sorted; none when the folder is absent.
  static std::vector<fs::path> kept(const std::string& target, const char* kind) {
    std::vector<fs::path> inputs;
    const fs::path from = fs::path(TOLVEX_SOURCE_DIR) / "fuzz" / target / kind;
    if (fs::is_directory(from))
      for (const auto& entry : fs::directory_iterator(from)) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
  }
  // Feeds the seeds, then the regressions, to the entry point; how many there were.
  static std::size_t replay(const std::string& target, int (*entry)(const std::uint8_t*, size_t)) {
    std::size_t fed = 0;
    for (const char* kind : {"seeds", "regressions"})
      for (const fs::path& input : kept(target, kind)) {
        SCOPED_TRACE(input.string());
        const std::string bytes = readFile(input.string());
        entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), ++fed;
      }
    return fed;
  }
};

// Each reader survives every kept input and leaves the engine sound: every sprite seed loads,
// the configuration is restored, the world is emptied without the id counter wrapping (an id
// read near the top of the range), every connection is released.
TEST_F(FuzzRegressionTest, EveryTargetSurvivesItsKeptInputs) {
  EXPECT_GT(replay("recording", fuzz::feedRecording), 0u);
  EXPECT_GT(replay("sprite", fuzz::feedSprite), 0u);
  EXPECT_EQ(logCount("RM::loadSprite(): Sprite 'fuzz-input' loaded."),
            static_cast<int>(kept("sprite", "seeds").size()));
  EXPECT_GT(replay("config", fuzz::feedConfig), 0u);
  EXPECT_TRUE(Config::getInstance().getHeadless() && Config::getInstance().getFrameTime() == 33);
  EXPECT_GT(replay("serialization", fuzz::feedSerialization), 0u);
  EXPECT_EQ(WorldManager::getInstance().getAllObjects(true).getCount(), 0);
  EXPECT_GE(Object().getId(), NO_ID);
  EXPECT_GT(replay("network", fuzz::feedNetwork), 0u);
  EXPECT_EQ(NetworkManager::getInstance().getNumConnected(), 0);
}

}  // namespace
}  // namespace tx::test
