#include "tolvex/core/Config.h"

#include <tuple>

#include "TestSupport.h"
#include "tolvex/core/utility.h"

namespace tx::test {
namespace {

class ConfigTest : public EngineTest {
 protected:
  // Loads the configuration from a file holding text (none when empty); returns standard error.
  std::string loadFile(const std::string& text) {
    if (!text.empty()) writeFile("tx-config.txt", text);
    return stderrOf([] { Config::getInstance().loadConfig(""); });
  }
  const Config& config = Config::getInstance();
};

TEST_F(ConfigTest, EveryKeyIsRead) {
  loadFile(
      "window_horizontal_pixels:640, window_vertical_pixels:480,\r\n"
      "window_horizontal_chars:40, window_vertical_chars:12,\n"
      "window_style:fullscreen, window_background_color:yellow,\n"
      "frame_time:20, font_scale:1.5, window_title:Up,\n"
      "show_mouse:true, headless:true, font_file:f.ttf, logfile:x.log,\n"
      "random_seed:-1, networking:true,\n");
  EXPECT_EQ(std::make_tuple(config.getWindowHorizontalPixels(), config.getWindowVerticalPixels(),
                            config.getWindowHorizontalChars(), config.getWindowVerticalChars(),
                            config.getWindowStyle(), config.getFrameTime(), config.getRandomSeed()),
            std::make_tuple(640, 480, 40, 12, 8, 20, -1));
  EXPECT_FLOAT_EQ(config.getFontScale(), 1.5f);
  EXPECT_EQ(config.getWindowTitle() + config.getFontFile() + config.getLogFile(), "Upf.ttfx.log");
  EXPECT_TRUE(config.getShowMouse() && config.getHeadless() && config.getNetworking());
  EXPECT_EQ(config.getWindowBackgroundColor(), YELLOW);
}

// Each load below touches other keys, so every check compares against the default.
TEST_F(ConfigTest, UnusableEntriesKeepTheDefaults) {
  LogManager::getInstance().setLogLevel(1);
  EXPECT_NE(loadFile("").find("Config::readConfig(): Cannot open Tolvex configuration file '" +
                              configPath() + "'."),
            std::string::npos);
  loadFile("window_horizontal_chars:20\nwindow_style:fullscreen,\n");
  EXPECT_EQ(config.getWindowHorizontalChars(), 20) << "lines join without a separator";
  EXPECT_EQ(config.getWindowStyle(), 5);
  loadFile("# frame_time:10,\n #frame_time:11,\nwindow_title:a,\n");
  EXPECT_EQ(config.getConfigText(), " #frame_time:11,window_title:a,") << "column-1 # only";
  EXPECT_EQ(config.getFrameTime(), 33);
  loadFile("show_mouse:TRUE,headless:true,networking:yes,font_file:,window_title: My Game,\n");
  EXPECT_TRUE(!config.getShowMouse() && config.getHeadless() && !config.getNetworking());
  EXPECT_EQ(config.getWindowTitle(), "MyGame") << "blanks are removed";
  EXPECT_EQ(config.getFontFile(), "tx-font.ttf") << "an empty value keeps the setting";
  loadFile("frame_time:abc,random_seed:99999999999,\n");
  EXPECT_EQ(config.getFrameTime() + config.getRandomSeed(), 2147483647) << "leading integers";
  const std::string err = loadFile("window_background_color:purple,window_style:Fullscreen,\n");
  EXPECT_NE(err.find("loadConfig(): Unsupported window color 'purple'"), std::string::npos);
  EXPECT_NE(err.find("loadConfig(): Unsupported window style 'Fullscreen'"), std::string::npos);
  EXPECT_TRUE(config.getWindowBackgroundColor() == BLACK && config.getWindowStyle() == 5);
}

}  // namespace
}  // namespace tx::test
