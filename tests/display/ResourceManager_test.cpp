#include "display/ResourceManager.h"

#include <filesystem>
#include <vector>

#include "TestSupport.h"
#include "WavFile.h"
#include "core/LogManager.h"

namespace tx::test {
namespace {

// Joins lines into a sprite file, each ended by a line feed.
std::string lines(const std::vector<std::string>& file_lines) {
  std::string text;
  for (const std::string& line : file_lines) text += line + "\n";
  return text;
}

// A full example: 2 frames of 3 x 2, red, slowdown 4, transparency '#'. Line numbers
// in the comments are file lines.
std::vector<std::string> goodSprite() {
  return {"<HEADER>",                             // 1
          "frames 2",   "width 3",    "height 2",  // 2-4
          "color red",  "slowdown 4", "transparency #",  // 5-7
          "</HEADER>",                            // 8
          "<BODY>",                               // 9
          "abc",        "def",        "end",       // 10-12
          "ghi",        "jkl",        "end",       // 13-15
          "</BODY>",                              // 16
          "<FOOTER>",   "version 1",  "</FOOTER>"};  // 17-19
}

// A one-frame sprite (3 x 2) with only the required header keys: body rows on lines 7 and 8.
std::vector<std::string> minimalSprite() {
  return {"<HEADER>", "frames 1", "width 3", "height 2", "</HEADER>",
          "<BODY>",   "abc",      "def",     "end",      "</BODY>",
          "<FOOTER>", "version 1", "</FOOTER>"};
}

std::vector<std::string> replaced(std::vector<std::string> file_lines, std::size_t index,
                                  const std::string& line) {
  file_lines[index] = line;
  return file_lines;
}

std::vector<std::string> inserted(std::vector<std::string> file_lines, std::size_t index,
                                  const std::vector<std::string>& more) {
  file_lines.insert(file_lines.begin() + static_cast<long>(index), more.begin(), more.end());
  return file_lines;
}

class ResourceTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(LogManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    LogManager::getInstance().setLogLevel(0);
    ASSERT_EQ(ResourceManager::getInstance().startUp(), 0);
  }
  void TearDown() override {
    ResourceManager::getInstance().shutDown();
    LogManager::getInstance().shutDown();
    EngineTest::TearDown();
  }

  // The log lines that follow the "Loading sprite" line of the most recent load.
  std::vector<std::string> linesAfterLoading() const {
    const std::vector<std::string> all = logMessages();
    std::size_t start = all.size();
    for (std::size_t i = 0; i < all.size(); i++)
      if (all[i].rfind("RM::loadSprite(): Loading sprite '", 0) == 0) start = i + 1;
    return std::vector<std::string>(all.begin() + static_cast<long>(std::min(start, all.size())),
                                    all.end());
  }
};

TEST_F(ResourceTest, WellFormedSpriteLoadsWithEveryHeaderValue) {
  const std::string file = writeFile("ship.txt", lines(goodSprite()));
  ASSERT_EQ(ResourceManager::getInstance().loadSprite(file, "ship"), 0);
  Sprite* sprite = ResourceManager::getInstance().getSprite("ship");
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->getColor(), RED);
  EXPECT_EQ(sprite->getFrameCount(), 2);
  EXPECT_EQ(sprite->getWidth(), 3);
  EXPECT_EQ(sprite->getHeight(), 2);
  EXPECT_EQ(sprite->getSlowdown(), 4);
  EXPECT_EQ(sprite->getTransparency(), '#');
  EXPECT_EQ(sprite->getLabel(), "ship");
  EXPECT_EQ(sprite->getFrame(0).getString(), "abcdef");
  EXPECT_EQ(sprite->getFrame(1).getString(), "ghijkl");
  EXPECT_TRUE(logHas("RM::loadSprite(): Loading sprite '" + file + "'."));
  EXPECT_EQ(linesAfterLoading(), std::vector<std::string>{"RM::loadSprite(): Sprite 'ship' loaded."});
}

TEST_F(ResourceTest, OptionalHeaderKeysDefaultToWhiteNoSlowdownNoTransparency) {
  ASSERT_EQ(ResourceManager::getInstance().loadSprite(writeFile("s.txt", lines(minimalSprite())), "s"), 0);
  Sprite* sprite = ResourceManager::getInstance().getSprite("s");
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->getColor(), WHITE);
  EXPECT_EQ(sprite->getSlowdown(), 0);
  EXPECT_EQ(sprite->getTransparency(), 0);
}

TEST_F(ResourceTest, CarriageReturnLineEndsAndKeyAloneAreAccepted) {
  std::string text;
  for (const std::string& line : inserted(minimalSprite(), 4, {"color", "transparency"}))
    text += line + "\r\n";
  ASSERT_EQ(ResourceManager::getInstance().loadSprite(writeFile("crlf.txt", text), "crlf"), 0);
  Sprite* sprite = ResourceManager::getInstance().getSprite("crlf");
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->getColor(), WHITE);
  EXPECT_EQ(sprite->getTransparency(), 0);
  EXPECT_EQ(sprite->getFrame(0).getString(), "abcdef");
}

TEST_F(ResourceTest, LaterKeyLineWinsAndLongerWordsMatchTheKey) {
  const auto file_lines = inserted(goodSprite(), 2, {"framesX 3"});
  const auto body = inserted(file_lines, 16, {"mno", "pqr", "end"});
  ASSERT_EQ(ResourceManager::getInstance().loadSprite(writeFile("s.txt", lines(body)), "s"), 0);
  EXPECT_EQ(ResourceManager::getInstance().getSprite("s")->getFrameCount(), 3);
}

// A sprite file that must be refused, and the exact lines it must log after "Loading sprite".
struct Refusal {
  const char* name;
  std::string text;
  std::vector<std::string> log;
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

std::vector<std::string> notLoaded(std::vector<std::string> log) {
  log.push_back("RM::loadSprite(): Sprite 's' not loaded.");
  return log;
}

std::string hugeLine() { return std::string(100000, 'x') + "\n"; }

std::string binaryGarbage() {
  std::string text("\x7f" "ELF\x02\x01\x01\x00\x00\xff\xfe\n", 12);
  for (int i = 0; i < 4096; i++) text += static_cast<char>((i * 131 + 7) % 256);
  return text;
}

std::vector<std::string> removed(std::vector<std::string> file_lines, std::size_t index) {
  file_lines.erase(file_lines.begin() + static_cast<long>(index));
  return file_lines;
}

const std::vector<Refusal>& refusals() {
  static const std::vector<Refusal> table = {
      {"RowOneCharacterShort", lines(replaced(goodSprite(), 10, "de")),
       notLoaded({"\tError! Line 11: Line length is 2 (frame width is 3).", "\tLine 11: 'de'",
                  "RM::loadSprite(): Error! No frame data to add."})},
      {"FrameWithoutEnd", lines(replaced(goodSprite(), 11, "xyz")),
       notLoaded({"\tError! Line 12: Expected 'end'.", "\tLine 12: 'xyz'",
                  "RM::loadSprite(): Error! No frame data to add."})},
      {"OneFrameMoreThanDeclared", lines(inserted(goodSprite(), 15, {"mno", "pqr", "end"})),
       notLoaded({"RM::loadSprite(): Error! Extra BODY:", "\tline 16: mno", "\tline 17: pqr",
                  "\tline 18: end"})},
      {"ZeroFramesMakesTheWholeBodyExtra", lines(replaced(minimalSprite(), 1, "frames 0")),
       notLoaded({"RM::loadSprite(): Error! Extra BODY:", "\tline 7: abc", "\tline 8: def",
                  "\tline 9: end"})},
      {"FewerFramesThanDeclared", lines(replaced(goodSprite(), 1, "frames 3")),
       notLoaded({"\tError! Line 16: No more frame data.",
                  "RM::loadSprite(): Error! No frame data to add."})},
      {"BodyEndsInsideAFrame", lines(replaced(minimalSprite(), 3, "height 4")),
       notLoaded({"\tError! Line 10: Body ends after row 3 of a 4-row frame.",
                  "RM::loadSprite(): Error! No frame data to add."})},
      {"BodyEndsBeforeEnd", lines(removed(minimalSprite(), 8)),
       notLoaded({"\tError! Line 9: Body ends before 'end'.",
                  "RM::loadSprite(): Error! No frame data to add."})},
      {"NegativeFrameCount", lines(replaced(minimalSprite(), 1, "frames -3")),
       notLoaded({"RM::loadSprite(): Error! Line 2: 'frames' is -3; it cannot be negative."})},
      {"FramesFarAboveTheLinesPresent", lines(replaced(minimalSprite(), 1, "frames 2000000000")),
       notLoaded({"\tError! Line 10: No more frame data.",
                  "RM::loadSprite(): Error! No frame data to add."})},
      {"HugeWidth", lines(replaced(minimalSprite(), 2, "width 99999999999")),
       notLoaded({"\tError! Line 7: Line length is 3 (frame width is 2147483647).",
                  "\tLine 7: 'abc'", "RM::loadSprite(): Error! No frame data to add."})},
      {"HugeHeight", lines(replaced(minimalSprite(), 3, "height 2147483647")),
       notLoaded({"\tError! Line 10: Body ends after row 3 of a 2147483647-row frame.",
                  "RM::loadSprite(): Error! No frame data to add."})},
      {"MissingWidth", lines(replaced(minimalSprite(), 2, "wide 3")),
       notLoaded({"RM::loadSprite(): Error! Missing 'width' in header."})},
      {"FramesOfMinusOneCountsAsMissing", lines(replaced(minimalSprite(), 1, "frames -1")),
       notLoaded({"RM::loadSprite(): Error! Missing 'frames' in header."})},
      {"UnknownColor", lines(inserted(minimalSprite(), 4, {"color purple"})),
       notLoaded({"RM::loadSprite(): Error! Unrecognized color 'purple'.",
                  "  Valid colors are: black, red, green, yellow,",
                  "                    blue, magenta, cyan and white."})},
      {"MissingVersion", lines(replaced(minimalSprite(), 11, "release 1")),
       notLoaded({"RM::loadSprite(): Error! Missing 'version' in FOOTER (line 12)."})},
      // The key alone is taken (and counted) as an empty value.
      {"VersionKeyAlone", lines(replaced(minimalSprite(), 11, "version")),
       notLoaded({"RM::loadSprite(): Error! Missing 'version' in FOOTER (line 13)."})},
      {"BlankLineInsideASection", lines(inserted(minimalSprite(), 2, {""})),
       notLoaded({"readData(): Error! Never encountered '</HEADER>'."})},
      {"BlankLineBetweenSections", lines(inserted(minimalSprite(), 5, {""})),
       notLoaded({"readData(): Error line 6! Expected '<BODY>', have ''."})},
      {"NoLineFeedAfterTheLastTag", lines(minimalSprite()).substr(0, lines(minimalSprite()).size() - 1),
       notLoaded({"getLine(): Error! Unexpected end of file.",
                  "readData(): Error! Never encountered '</FOOTER>'."})},
      {"EmptyFooter", lines(removed(minimalSprite(), 11)),
       notLoaded({"readData(): Error line 12! Nothing between '<FOOTER>' and '</FOOTER>'."})},
      {"EmptyFile", "",
       notLoaded({"getLine(): Error! Unexpected end of file.",
                  "readData(): Error line 1! Expected '<HEADER>', have ''."})},
      {"CarriageReturnsOnly",
       [] {
         std::string text;
         for (const std::string& line : minimalSprite()) text += line + "\r";
         return text;
       }(),
       notLoaded({"getLine(): Error! Unexpected end of file.",
                  "getLine(): Error! Lines end in carriage returns without line feeds.",
                  "readData(): Error line 1! Expected '<HEADER>', have ''."})},
      {"VeryLongLine", hugeLine(),
       notLoaded({"getLine(): Error! Line longer than 65536 characters.",
                  "readData(): Error line 1! Expected '<HEADER>', have ''."})},
      {"BinaryGarbage", binaryGarbage(),
       notLoaded({"readData(): Error line 1! Expected '<HEADER>', have '?ELF???????"
                  "'."})},
  };
  return table;
}

class SpriteRefusal : public ResourceTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SpriteRefusal, IsRefusedWithItsLogLinesAndTheManagerUnchanged) {
  ResourceManager& resources = ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite(writeFile("good.txt", lines(goodSprite())), "good"), 0);
  EXPECT_EQ(resources.loadSprite(writeFile("s.txt", GetParam().text), "s"), -1);
  EXPECT_EQ(linesAfterLoading(), GetParam().log);
  EXPECT_EQ(resources.getSpriteCount(), 1);
  EXPECT_EQ(resources.getSprite("s"), nullptr);
  EXPECT_NE(resources.getSprite("good"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Sprites, SpriteRefusal, ::testing::ValuesIn(refusals()),
                         [](const ::testing::TestParamInfo<Refusal>& param_info) { return param_info.param.name; });

TEST_F(ResourceTest, UnreadableFilesAreRefused) {
  ResourceManager& resources = ResourceManager::getInstance();
  EXPECT_EQ(resources.loadSprite(dir, "dir"), -1);
  EXPECT_TRUE(logHas("RM::loadSprite(): Error! Cannot open file '" + dir + "'."));
  EXPECT_EQ(resources.loadSprite(path("missing.txt"), "missing"), -1);
  EXPECT_TRUE(logHas("RM::loadSprite(): Error! Cannot open file '" + path("missing.txt") + "'."));
  EXPECT_TRUE(logHas("RM::loadSprite(): Sprite 'missing' not loaded."));
  EXPECT_EQ(resources.getSpriteCount(), 0);
}

TEST_F(ResourceTest, LookupsReturnTheFirstLoadedAndWarnWhenAbsent) {
  ResourceManager& resources = ResourceManager::getInstance();
  const std::string file = writeFile("s.txt", lines(minimalSprite()));
  ASSERT_EQ(resources.loadSprite(file, "twin"), 0);
  ASSERT_EQ(resources.loadSprite(writeFile("g.txt", lines(goodSprite())), "twin"), 0);
  EXPECT_EQ(resources.getSprite("twin")->getFrameCount(), 1);
  EXPECT_EQ(resources.getSprite("Twin"), nullptr);
  EXPECT_TRUE(logHas("RM::getSprite(): Warning! Sprite 'Twin' not found."));
  EXPECT_EQ(resources.getSound("boom"), nullptr);
  EXPECT_TRUE(logHas("RM::getSound(): Warning! Sound 'boom' not found."));
  EXPECT_EQ(resources.getMusic("tune"), nullptr);
  EXPECT_TRUE(logHas("RM::getMusic(): Warning! Music 'tune' not found."));
}

TEST_F(ResourceTest, ThousandAndFirstSpriteIsRefused) {
  ResourceManager& resources = ResourceManager::getInstance();
  const std::string file = writeFile("s.txt", lines(minimalSprite()));
  for (int i = 0; i < MAX_SPRITES; i++) ASSERT_EQ(resources.loadSprite(file, "s"), 0);
  EXPECT_EQ(resources.loadSprite(file, "extra"), -1);
  EXPECT_TRUE(logHas("RM::loadSprite(): Error! Cannot add more Sprites (max is 1000)."));
  EXPECT_TRUE(logHas("RM::loadSprite(): Sprite 'extra' not loaded."));
  EXPECT_EQ(resources.getSpriteCount(), MAX_SPRITES);
}

TEST_F(ResourceTest, NothingLoadsBeforeStartUpAndShutDownReleasesSprites) {
  ResourceManager& resources = ResourceManager::getInstance();
  const std::string file = writeFile("s.txt", lines(minimalSprite()));
  ASSERT_EQ(resources.loadSprite(file, "s"), 0);
  resources.shutDown();
  EXPECT_EQ(resources.getSpriteCount(), 0);
  EXPECT_EQ(resources.getSprite("s"), nullptr);
  EXPECT_EQ(resources.loadSprite(file, "s"), -1);
  EXPECT_EQ(resources.loadSound(file, "s"), -1);
  EXPECT_EQ(resources.loadMusic(file, "s"), -1);
  EXPECT_EQ(logCount("ResourceManager not started!"), 3);
  EXPECT_EQ(resources.startUp(), 0);
  EXPECT_EQ(resources.startUp(), 0);
  EXPECT_TRUE(logHas("RM::startUp(): Already started."));
}

TEST_F(ResourceTest, HundredAndFirstSoundIsRefusedAndFailedLoadsKeepTheSlotFree) {
  ResourceManager& resources = ResourceManager::getInstance();
  const std::string wav = path("beep.wav");
  ASSERT_TRUE(writeWav(wav));
  EXPECT_EQ(resources.loadSound(path("none.wav"), "none"), -1);
  EXPECT_TRUE(logHas("RM::loadSound(): Error! Cannot load sound from file '" + path("none.wav") + "'."));
  EXPECT_EQ(resources.getSoundCount(), 0);
  for (int i = 0; i < MAX_SOUNDS; i++)
    ASSERT_EQ(resources.loadSound(wav, "beep" + std::to_string(i)), 0);
  EXPECT_EQ(resources.loadSound(wav, "extra"), -1);
  EXPECT_TRUE(logHas("RM::loadSound(): Error! Unable to add more sounds (max is 100)."));
  ASSERT_NE(resources.getSound("beep99"), nullptr);
  EXPECT_EQ(resources.getSound("beep99")->getLabel(), "beep99");
}

TEST_F(ResourceTest, FiftyFirstMusicIsRefusedAndMusicNeedsALabel) {
  ResourceManager& resources = ResourceManager::getInstance();
  const std::string wav = path("tune.wav");
  ASSERT_TRUE(writeWav(wav));
  EXPECT_EQ(resources.loadMusic(wav, ""), -1);
  EXPECT_TRUE(logHas("RM::loadMusic(): Error! Must provide label for music."));
  EXPECT_EQ(resources.loadMusic(dir, "dir"), -1);
  EXPECT_TRUE(logHas("RM::loadmusic(): Error! Cannot load music from file '" + dir + "'."));
  for (int i = 0; i < MAX_MUSICS; i++)
    ASSERT_EQ(resources.loadMusic(wav, "tune" + std::to_string(i)), 0);
  EXPECT_EQ(resources.loadMusic(wav, "extra"), -1);
  EXPECT_TRUE(logHas("RM::loadMusic(): Error! Unable to add more musics (max is 50)."));
  EXPECT_NE(resources.getMusic("tune49"), nullptr);
}

TEST_F(ResourceTest, ShutDownStopsEverySoundAndMusic) {
  ResourceManager& resources = ResourceManager::getInstance();
  const std::string wav = path("loop.wav");
  ASSERT_TRUE(writeWav(wav));
  ASSERT_EQ(resources.loadSound(wav, "beep"), 0);
  ASSERT_EQ(resources.loadMusic(wav, "tune"), 0);
  resources.getSound("beep")->play(true);
  resources.getMusic("tune")->play(true);
  LogManager::getInstance().setLogLevel(5);
  resources.shutDown();
  EXPECT_EQ(resources.getSound("beep")->getSound()->getStatus(), sf::SoundSource::Stopped);
  EXPECT_EQ(resources.getMusic("tune")->getMusic()->getStatus(), sf::SoundSource::Stopped);
  EXPECT_TRUE(logHas("Music::stop(): Stopping music."));
  EXPECT_TRUE(logHas("RM::shutDown(): successfully stopped."));
}

}  // namespace
}  // namespace tx::test
