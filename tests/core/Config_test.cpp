#include "tolvex/core/Config.h"

#include <sys/stat.h>

#include <tuple>
#include <utility>

#include "TestSupport.h"

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
                            config.getWindowStyle(), config.getFrameTime(), config.getRandomSeed(),
                            config.getFontScale(), config.getWindowBackgroundColor()),
            std::make_tuple(640, 480, 40, 12, 8, 20, -1, 1.5f, YELLOW));
  EXPECT_EQ(config.getWindowTitle() + config.getFontFile() + config.getLogFile(), "Upf.ttfx.log");
  EXPECT_TRUE(config.getShowMouse() && config.getHeadless() && config.getNetworking());
}

// Each load below touches other keys, so every check compares against the default.
TEST_F(ConfigTest, UnusableEntriesKeepTheDefaults) {
  LogManager::getInstance().setLogLevel(1);
  EXPECT_EQ(
      stripLogPrefix(loadFile("")),
      "Config::readConfig(): Cannot open Tolvex configuration file '" + configPath() + "'.\n");
  loadFile("window_horizontal_chars:20\nwindow_style:fullscreen,\n");
  EXPECT_EQ(config.getWindowStyle(), 5) << "lines join without a separator";
  loadFile("# frame_time:10,\n #frame_time:11,\nwindow_title:a,\n");
  EXPECT_EQ(config.getConfigText(), " #frame_time:11,window_title:a,") << "column-1 # only";
  EXPECT_EQ(config.getFrameTime(), 33);
  loadFile("show_mouse:TRUE,headless:true,networking:yes,font_file:,window_title: My Game,\n");
  EXPECT_TRUE(!config.getShowMouse() && config.getHeadless() && !config.getNetworking());
  EXPECT_EQ(config.getWindowTitle(), "MyGame") << "blanks are removed";
  EXPECT_EQ(config.getFontFile(), "tx-font.ttf") << "an empty value keeps the setting";
  loadFile("grid_width:abc,random_seed:99999999999,\n");
  EXPECT_EQ(config.getGridWidth() + config.getRandomSeed(), 2147483647) << "leading integers";
  const std::string err = loadFile("window_background_color:purple,window_style:Fullscreen,\n");
  EXPECT_NE(err.find("loadConfig(): Unsupported window color 'purple'"), std::string::npos);
  EXPECT_NE(err.find("loadConfig(): Unsupported window style 'Fullscreen'"), std::string::npos);
  EXPECT_TRUE(config.getWindowBackgroundColor() == BLACK && config.getWindowStyle() == 5);
}

// A file that would hang, exhaust the memory or read as nothing is not read.
TEST_F(ConfigTest, OnlyARegularFileOfAtMostOneMebibyteIsRead) {
  const std::string at_limit = std::string(MAX_CONFIG_BYTES - 15, '#') + "\nframe_time:20,";
  ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
  const std::pair<std::string, std::string> cases[] = {
      {dir, "is not a regular file"},
      {path("fifo"), "is not a regular file"},
      {"/dev/zero", "is not a regular file"},
      {writeFile("big.txt", at_limit + "#"), "is larger than 1048576 bytes"}};
  for (const auto& [file, refusal] : cases) {
    setenv("TOLVEX_CONFIG", file.c_str(), 1);
    // Stops at the first refusal missed: the next file would hang or fill the memory.
    ASSERT_EQ(stripLogPrefix(loadFile("")), "Config::readConfig(): Warning! '" + file + "' " +
                                                refusal + "; using the defaults.\n");
    EXPECT_EQ(config.getConfigText(), "");
  }
  setenv("TOLVEX_CONFIG", writeFile("big.txt", at_limit).c_str(), 1);
  loadFile("");
  EXPECT_EQ(config.getFrameTime(), 20) << "a file of exactly the limit is read";
}

TEST_F(ConfigTest, FrameTimeAndFontScaleStayInRange) {
  const std::tuple<std::string, int, float, std::string> cases[] = {
      {"frame_time:fast,", 33, 2.0f, "frame_time 'fast' is not a number; keeping 33."},
      {"frame_time:2147483647,", 10000, 2.0f, "frame_time 2147483647 above 10000; using 10000."},
      {"frame_time:10000,font_scale:100,", 10000, 100.0f, ""},
      {"font_scale:1e30,", 33, 2.0f, "font_scale '1e30' not above 0 and at most 100; keeping 2."},
      {"font_scale:0,", 33, 2.0f, "font_scale '0' not above 0 and at most 100; keeping 2."},
      {"font_scale:nan,", 33, 2.0f, "font_scale 'nan' not above 0 and at most 100; keeping 2."}};
  for (const auto& [text, frame_time, font_scale, warning] : cases) {
    Config::getInstance().loadConfig("frame_time:33,font_scale:2,");
    const std::string err = stderrOf([&] { Config::getInstance().loadConfig(text); });
    EXPECT_EQ(config.getFrameTime(), frame_time) << text;
    EXPECT_FLOAT_EQ(config.getFontScale(), font_scale) << text;
    EXPECT_EQ(stripLogPrefix(err),
              warning.empty() ? "" : "loadConfig(): Warning! " + warning + "\n")
        << text;
  }
}

}  // namespace
}  // namespace tx::test
