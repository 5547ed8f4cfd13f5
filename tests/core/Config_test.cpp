#include "core/Config.h"

#include "TestSupport.h"
#include "core/LogManager.h"
#include "core/utility.h"

namespace tx {
namespace {

class ConfigTest : public test::EngineTest {
 protected:
  // Loads the configuration from a file holding text; returns what went to standard error.
  std::string loadFile(const std::string& text) {
    writeFile("tx-config.txt", text);
    testing::internal::CaptureStderr();
    Config::getInstance().loadConfig("");
    return testing::internal::GetCapturedStderr();
  }
};

TEST_F(ConfigTest, MissingFileKeepsEveryDefault) {
  const Config& config = Config::getInstance();
  LogManager::getInstance().setLogLevel(1);
  testing::internal::CaptureStderr();
  Config::getInstance().loadConfig("");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Config::readConfig(): Cannot open Tolvex configuration file '" +
                     configPath() + "'."),
            std::string::npos);
  EXPECT_EQ(config.getWindowHorizontalPixels(), 1024);
  EXPECT_EQ(config.getWindowVerticalPixels(), 768);
  EXPECT_EQ(config.getWindowHorizontalChars(), 80);
  EXPECT_EQ(config.getWindowVerticalChars(), 24);
  EXPECT_EQ(config.getWindowStyle(), 5);
  EXPECT_EQ(config.getWindowBackgroundColor(), BLACK);
  EXPECT_EQ(config.getFrameTime(), 33);
  EXPECT_FLOAT_EQ(config.getFontScale(), 2.0f);
  EXPECT_EQ(config.getWindowTitle(), "Tolvex");
  EXPECT_FALSE(config.getShowMouse());
  EXPECT_FALSE(config.getHeadless());
  EXPECT_EQ(config.getFontFile(), "tx-font.ttf");
  EXPECT_EQ(config.getLogFile(), "tolvex.log");
  EXPECT_EQ(config.getRandomSeed(), 0);
  EXPECT_FALSE(config.getNetworking());
  EXPECT_EQ(config.getQuadtreeThreshold(), 1);
  EXPECT_EQ(config.getQuadtreeDepth(), 10);
  EXPECT_EQ(config.getGridWidth(), 20);
  EXPECT_EQ(config.getGridHeight(), 8);
}

// A stale parse left by an earlier match() must not leak into the settings.
TEST_F(ConfigTest, EmptyFileIgnoresEarlierParses) {
  match("frame_time:99,headless:true", "");
  loadFile("# only a comment\n\n");
  EXPECT_EQ(Config::getInstance().getFrameTime(), 33);
  EXPECT_FALSE(Config::getInstance().getHeadless());
}

TEST_F(ConfigTest, EveryKeyIsRead) {
  loadFile(
      "window_horizontal_pixels:640, window_vertical_pixels:480,\r\n"
      "window_horizontal_chars:40, window_vertical_chars:12,\n"
      "window_style:fullscreen, window_background_color:yellow,\n"
      "frame_time:20, font_scale:1.5, window_title:Climb,\n"
      "show_mouse:true, headless:true, font_file:f.ttf, logfile:x.log,\n"
      "random_seed:-1, networking:true, quadtree_threshold:2, quadtree_depth:3,\n"
      "grid_width:4, grid_height:5,\n");
  const Config& config = Config::getInstance();
  EXPECT_EQ(config.getWindowHorizontalPixels(), 640);
  EXPECT_EQ(config.getWindowVerticalPixels(), 480);
  EXPECT_EQ(config.getWindowHorizontalChars(), 40);
  EXPECT_EQ(config.getWindowVerticalChars(), 12);
  EXPECT_EQ(config.getWindowStyle(), 8);
  EXPECT_EQ(config.getWindowBackgroundColor(), YELLOW);
  EXPECT_EQ(config.getFrameTime(), 20);
  EXPECT_FLOAT_EQ(config.getFontScale(), 1.5f);
  EXPECT_EQ(config.getWindowTitle(), "Climb");
  EXPECT_TRUE(config.getShowMouse());
  EXPECT_TRUE(config.getHeadless());
  EXPECT_EQ(config.getFontFile(), "f.ttf");
  EXPECT_EQ(config.getLogFile(), "x.log");
  EXPECT_EQ(config.getRandomSeed(), -1);
  EXPECT_TRUE(config.getNetworking());
  EXPECT_EQ(config.getQuadtreeThreshold(), 2);
  EXPECT_EQ(config.getQuadtreeDepth(), 3);
  EXPECT_EQ(config.getGridWidth(), 4);
  EXPECT_EQ(config.getGridHeight(), 5);
}

TEST_F(ConfigTest, LinesJoinWithoutSeparator) {
  loadFile("frame_time:20\nwindow_style:fullscreen,\n");
  EXPECT_EQ(Config::getInstance().getConfigText(), "frame_time:20window_style:fullscreen,");
  EXPECT_EQ(Config::getInstance().getFrameTime(), 20);
  EXPECT_EQ(Config::getInstance().getWindowStyle(), 5);
}

TEST_F(ConfigTest, OnlyFirstColumnHashIsAComment) {
  loadFile("# frame_time:10,\n #frame_time:11,\nwindow_title:a,\n\n#\n");
  EXPECT_EQ(Config::getInstance().getConfigText(), " #frame_time:11,window_title:a,");
  EXPECT_EQ(Config::getInstance().getFrameTime(), 33);
  EXPECT_EQ(Config::getInstance().getWindowTitle(), "a");
}

TEST_F(ConfigTest, FirstOccurrenceWins) {
  loadFile("frame_time:20,\nframe_time:40,\n");
  EXPECT_EQ(Config::getInstance().getFrameTime(), 20);
}

TEST_F(ConfigTest, BlanksAreRemovedFromValues) {
  loadFile("window_title: My Game,\n");
  EXPECT_EQ(Config::getInstance().getWindowTitle(), "MyGame");
}

TEST_F(ConfigTest, ValueIsCutAtASecondColon) {
  loadFile("logfile:C:\\game.log,\n");
  EXPECT_EQ(Config::getInstance().getLogFile(), "C");
}

TEST_F(ConfigTest, BooleanIsTrueOnlyForLowerCaseTrue) {
  loadFile("show_mouse:TRUE,headless:true,networking:yes,\n");
  EXPECT_FALSE(Config::getInstance().getShowMouse());
  EXPECT_TRUE(Config::getInstance().getHeadless());
  EXPECT_FALSE(Config::getInstance().getNetworking());
}

TEST_F(ConfigTest, EmptyValueKeepsTheSetting) {
  loadFile("frame_time:,window_title:,\n");
  EXPECT_EQ(Config::getInstance().getFrameTime(), 33);
  EXPECT_EQ(Config::getInstance().getWindowTitle(), "Tolvex");
}

TEST_F(ConfigTest, MalformedNumberReadsAsLeadingInteger) {
  loadFile("frame_time:abc,window_vertical_chars:12x,random_seed:99999999999,\n");
  EXPECT_EQ(Config::getInstance().getFrameTime(), 0);
  EXPECT_EQ(Config::getInstance().getWindowVerticalChars(), 12);
  EXPECT_EQ(Config::getInstance().getRandomSeed(), 2147483647);
}

TEST_F(ConfigTest, UnknownColourNameIsReportedAndIgnored) {
  const std::string err = loadFile("window_background_color:purple,\n");
  EXPECT_NE(err.find("loadConfig(): Unsupported window color 'purple'"), std::string::npos);
  EXPECT_EQ(Config::getInstance().getWindowBackgroundColor(), BLACK);
}

TEST_F(ConfigTest, UnknownStyleNameIsReportedAndIgnored) {
  const std::string err = loadFile("window_style:Fullscreen,\n");
  EXPECT_NE(err.find("loadConfig(): Unsupported window style 'Fullscreen'"), std::string::npos);
  EXPECT_EQ(Config::getInstance().getWindowStyle(), 5);
}

TEST_F(ConfigTest, TextArgumentIsUsedInsteadOfTheFile) {
  writeFile("tx-config.txt", "frame_time:50,\n");
  Config::getInstance().loadConfig("frame_time:10,");
  EXPECT_EQ(Config::getInstance().getFrameTime(), 10);
}

TEST_F(ConfigTest, PrintedBlock) {
  Config::getInstance().loadConfig("window_style:fullscreen,window_title:Climb,show_mouse:true,");
  LogManager& log = LogManager::getInstance();
  ASSERT_EQ(log.startUp(), 0);
  Config::getInstance().printConfig();
  EXPECT_TRUE(logMessages().empty());  // level 1 lines stay out of a level-0 log
  log.setLogLevel(1);
  Config::getInstance().printConfig();
  log.shutDown();
  const std::vector<std::string> expected = {
      "-----------------------------------",
      "Tolvex configuration:",
      "  Window horizontal pixels: 1024",
      "  Window vertical pixels: 768",
      "  Window horizontal characters: 80",
      "  Window vertical characters: 24",
      "  Window background color: 0",
      "  Frame time: 33",
      "  Window style: fullscreen",
      "  Window title: Climb",
      "  Show mouse: true",
      "  Headless: false",
      "  Font file: tx-font.ttf",
      "  Log file: tolvex.log",
      "  Random seed: 0",
      "  Networking: false",
      "  Scene graph: simple",
      "-----------------------------------",
  };
  EXPECT_EQ(logMessages(), expected);
}

}  // namespace
}  // namespace tx
