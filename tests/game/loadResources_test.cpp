#include "loadResources.h"

#include "GameFixture.h"
#include "display/ResourceManager.h"

namespace tx::test {
namespace {

class LoadResourcesTest : public GameTest {
 protected:
  LoadResourcesTest() { started = false; }
};

TEST_F(LoadResourcesTest, AllTwentyFourLoadWithoutAWarningOrError) {
  ResourceManager& rm = ResourceManager::getInstance();
  EXPECT_EQ(rm.getSpriteCount() + rm.getSoundCount() + rm.getMusicCount(), 24);
  for (const std::string& line : logMessages())
    for (const char* bad : {"Warning", "Error", "not loaded"})
      EXPECT_EQ(line.find(bad), std::string::npos) << line;
  for (const char* label : {"jump", "fall", "startup"}) EXPECT_NE(rm.getSound(label), nullptr);
  for (const char* label : {"game music", "menu music"}) EXPECT_NE(rm.getMusic(label), nullptr);
}

}  // namespace
}  // namespace tx::test
