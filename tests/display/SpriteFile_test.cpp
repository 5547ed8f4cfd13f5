#include "display/SpriteFile.h"

#include <vector>

#include "DisplayFixture.h"
#include "display/ResourceManager.h"

namespace tx::test {
namespace {

// Joins lines into a sprite file, each ended by a line feed (or another ending).
std::string lines(const std::vector<std::string>& file_lines, const std::string& ending = "\n") {
  std::string text;
  for (const std::string& line : file_lines) text += line + ending;
  return text;
}

// 2 frames of 3 x 2, red, slowdown 4, transparency '#'; index i is file line i + 1.
const std::vector<std::string> GOOD = {
    "<HEADER>",  "frames 2", "width 3",  "height 2",  "color red", "slowdown 4", "transparency #",
    "</HEADER>", "<BODY>",   "abc",      "def",       "end",       "ghi",        "jkl",
    "end",       "</BODY>",  "<FOOTER>", "version 1", "</FOOTER>"};
// One frame (3 x 2) with only the required header keys: body rows on lines 7 and 8.
const std::vector<std::string> MINIMAL = {
    "<HEADER>", "frames 1", "width 3", "height 2", "</HEADER>", "<BODY>",   "abc",
    "def",      "end",      "</BODY>", "<FOOTER>", "version 1", "</FOOTER>"};

// The file with line at replaced, or more inserted before at, or the line at removed.
std::string replaced(std::vector<std::string> l, std::size_t at, const std::string& line) {
  l[at] = line;
  return lines(l);
}
std::vector<std::string> inserted(std::vector<std::string> l, std::size_t at,
                                  const std::vector<std::string>& more) {
  l.insert(l.begin() + static_cast<long>(at), more.begin(), more.end());
  return l;
}
std::string removed(std::vector<std::string> l, std::size_t at) {
  l.erase(l.begin() + static_cast<long>(at));
  return lines(l);
}

// Sprite files read through the resource manager, as the game reads them.
class SpriteFileTest : public LoggedTest {
 protected:
  void SetUp() override {
    LoggedTest::SetUp();
    ASSERT_EQ(ResourceManager::getInstance().startUp(), 0);
  }
  void TearDown() override {
    ResourceManager::getInstance().shutDown();
    LoggedTest::TearDown();
  }

  // The log lines that follow the "Loading sprite" line of the most recent load.
  std::vector<std::string> linesAfterLoading() const {
    const std::vector<std::string> all = logMessages();
    std::size_t start = all.size();
    for (std::size_t i = 0; i < all.size(); i++)
      if (all[i].rfind("RM::loadSprite(): Loading sprite '", 0) == 0) start = i + 1;
    return std::vector<std::string>(all.begin() + static_cast<long>(start), all.end());
  }
};

TEST_F(SpriteFileTest, LoadedSpriteHasItsHeaderValuesOrTheDefaults) {
  ResourceManager& resources = ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite(writeFile("ship.txt", lines(GOOD)), "ship"), 0);
  ASSERT_EQ(resources.loadSprite(writeFile("s.txt", lines(MINIMAL)), "s"), 0);
  const Sprite* ship = resources.getSprite("ship");
  const Sprite* s = resources.getSprite("s");
  EXPECT_EQ((std::vector<int>{ship->getColor(), ship->getFrameCount(), ship->getWidth(),
                              ship->getHeight(), ship->getSlowdown(), ship->getTransparency(),
                              s->getColor(), s->getSlowdown(), s->getTransparency()}),
            (std::vector<int>{RED, 2, 3, 2, 4, '#', WHITE, 0, 0}));
  EXPECT_EQ(ship->getFrame(0).getString() + ship->getFrame(1).getString(), "abcdefghijkl");
}

// A sprite file and the exact lines it must log after "Loading sprite": loaded or not loaded.
struct SpriteText {
  const char* name;
  std::string text;
  std::vector<std::string> log;
};
void PrintTo(const SpriteText& file, std::ostream* out) { *out << file.name; }
const std::vector<std::string> LOADED{"RM::loadSprite(): Sprite 's' loaded."};

std::vector<std::string> notLoaded(std::vector<std::string> log) {
  log.push_back("RM::loadSprite(): Sprite 's' not loaded.");
  return log;
}

// The same after the frame reader's own lines.
std::vector<std::string> noFrame(std::vector<std::string> log) {
  log.push_back("RM::loadSprite(): Error! No frame data to add.");
  return notLoaded(log);
}

std::string binaryGarbage() {
  std::string text(
      "\x7f"
      "ELF\x02\x01\x01\x00\x00\xff\xfe\n",
      12);
  for (int i = 0; i < 4096; i++) text += static_cast<char>((i * 131 + 7) % 256);
  return text;
}

const std::vector<SpriteText>& spriteFiles() {
  static const std::vector<SpriteText> table = {
      {"FullHeader", lines(GOOD), LOADED},
      {"CarriageReturnLineEndsAndKeysAlone",
       lines(inserted(MINIMAL, 4, {"color", "transparency"}), "\r\n"), LOADED},
      {"LaterKeyLineWinsAndLongerWordsMatch",
       lines(inserted(inserted(GOOD, 2, {"framesX 3"}), 16, {"mno", "pqr", "end"})), LOADED},
      {"RowOneCharacterShort", replaced(GOOD, 10, "de"),
       noFrame({"\tError! Line 11: Line length is 2 (frame width is 3).", "\tLine 11: 'de'"})},
      {"FrameWithoutEnd", replaced(GOOD, 11, "xyz"),
       noFrame({"\tError! Line 12: Expected 'end'.", "\tLine 12: 'xyz'"})},
      {"OneFrameMoreThanDeclared", lines(inserted(GOOD, 15, {"mno", "pqr", "end"})),
       notLoaded({"RM::loadSprite(): Error! Extra BODY:", "\tline 16: mno", "\tline 17: pqr",
                  "\tline 18: end"})},
      {"FewerFramesThanDeclared", replaced(GOOD, 1, "frames 3"),
       noFrame({"\tError! Line 16: No more frame data."})},
      {"BodyEndsInsideAFrame", replaced(MINIMAL, 3, "height 4"),
       noFrame({"\tError! Line 10: Body ends after row 3 of a 4-row frame."})},
      {"BodyEndsBeforeEnd", removed(MINIMAL, 8),
       noFrame({"\tError! Line 9: Body ends before 'end'."})},
      {"NegativeFrameCount", replaced(MINIMAL, 1, "frames -3"),
       notLoaded({"RM::loadSprite(): Error! Line 2: 'frames' is -3; it cannot be negative."})},
      {"FramesFarAboveTheLinesPresent", replaced(MINIMAL, 1, "frames 2000000000"),
       noFrame({"\tError! Line 10: No more frame data."})},
      {"HugeWidth", replaced(MINIMAL, 2, "width 99999999999"),
       noFrame(
           {"\tError! Line 7: Line length is 3 (frame width is 2147483647).", "\tLine 7: 'abc'"})},
      {"MissingWidth", replaced(MINIMAL, 2, "wide 3"),
       notLoaded({"RM::loadSprite(): Error! Missing 'width' in header."})},
      {"FramesOfMinusOneCountsAsMissing", replaced(MINIMAL, 1, "frames -1"),
       notLoaded({"RM::loadSprite(): Error! Missing 'frames' in header."})},
      {"UnknownColor", lines(inserted(MINIMAL, 4, {"color purple"})),
       notLoaded({"RM::loadSprite(): Error! Unrecognized color 'purple'.",
                  "  Valid colors are: black, red, green, yellow,",
                  "                    blue, magenta, cyan and white."})},
      {"MissingVersion", replaced(MINIMAL, 11, "release 1"),
       notLoaded({"RM::loadSprite(): Error! Missing 'version' in FOOTER (line 12)."})},
      {"BlankLineInsideASection", lines(inserted(MINIMAL, 2, {""})),
       notLoaded({"readData(): Error! Never encountered '</HEADER>'."})},
      {"BlankLineBetweenSections", lines(inserted(MINIMAL, 5, {""})),
       notLoaded({"readData(): Error line 6! Expected '<BODY>', have ''."})},
      {"NoLineFeedAfterTheLastTag", lines(MINIMAL).substr(0, lines(MINIMAL).size() - 1),
       notLoaded({"getLine(): Error! Unexpected end of file.",
                  "readData(): Error! Never encountered '</FOOTER>'."})},
      {"EmptyFooter", removed(MINIMAL, 11),
       notLoaded({"readData(): Error line 12! Nothing between '<FOOTER>' and '</FOOTER>'."})},
      {"EmptyFile", "",
       notLoaded({"getLine(): Error! Unexpected end of file.",
                  "readData(): Error line 1! Expected '<HEADER>', have ''."})},
      {"CarriageReturnsOnly", lines(MINIMAL, "\r"),
       notLoaded({"getLine(): Error! Unexpected end of file.",
                  "getLine(): Error! Lines end in carriage returns without line feeds.",
                  "readData(): Error line 1! Expected '<HEADER>', have ''."})},
      {"VeryLongLine", std::string(100000, 'x') + "\n",
       notLoaded({"getLine(): Error! Line longer than 65536 characters.",
                  "readData(): Error line 1! Expected '<HEADER>', have ''."})},
      {"BinaryGarbage", binaryGarbage(),
       notLoaded({"readData(): Error line 1! Expected '<HEADER>', have '?ELF???????"
                  "'."})},
  };
  return table;
}

class SpriteFileTableTest : public SpriteFileTest,
                            public ::testing::WithParamInterface<SpriteText> {};

TEST_P(SpriteFileTableTest, LoadsOrIsRefusedWithItsExactLogLines) {
  ResourceManager& resources = ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite(writeFile("good.txt", lines(GOOD)), "good"), 0);
  const bool good = GetParam().log == LOADED;
  EXPECT_EQ(resources.loadSprite(writeFile("s.txt", GetParam().text), "s"), good ? 0 : -1);
  EXPECT_EQ(linesAfterLoading(), GetParam().log);
  EXPECT_EQ(resources.getSpriteCount(), good ? 2 : 1);
  EXPECT_EQ(resources.getSprite("s") != nullptr, good);
  EXPECT_NE(resources.getSprite("good"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Sprites, SpriteFileTableTest, ::testing::ValuesIn(spriteFiles()),
                         [](const ::testing::TestParamInfo<SpriteText>& param_info) {
                           return param_info.param.name;
                         });

}  // namespace
}  // namespace tx::test
