#include "tolvex/display/SpriteFile.h"

#include "DisplayFixture.h"

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

// The file with line at replaced, or more inserted before at.
std::string replaced(std::vector<std::string> l, std::size_t at, const std::string& line) {
  l[at] = line;
  return lines(l);
}
std::vector<std::string> inserted(std::vector<std::string> l, std::size_t at,
                                  const std::vector<std::string>& more) {
  l.insert(l.begin() + static_cast<long>(at), more.begin(), more.end());
  return l;
}

// Sprite files read through the resource manager, as the game reads them.
using SpriteFileTest = ResourceTest;

// A loaded sprite has its header values or the defaults. Each file is loaded, or refused with
// exactly its log lines between "Loading sprite" and the manager's "not loaded" line; a refused
// file leaves the sprites loaded before it.
TEST_F(SpriteFileTest, LoadsWithItsHeaderValuesOrIsRefusedWithItsExactLogLines) {
  const std::vector<std::string> loaded = {"RM::loadSprite(): Sprite 's' loaded."};
  const std::string no_frame = "RM::loadSprite(): Error! No frame data to add.";
  const std::pair<std::string, std::vector<std::string>> files[] = {
      {lines(inserted(MINIMAL, 4, {"color", "transparency"}), "\r\n"), loaded},
      {replaced(GOOD, 10, "de"),
       {"\tError! Line 11: Line length is 2 (frame width is 3).", "\tLine 11: 'de'", no_frame}},
      {replaced(GOOD, 11, "xyz"),
       {"\tError! Line 12: Expected 'end'.", "\tLine 12: 'xyz'", no_frame}},
      {lines(inserted(GOOD, 15, {"mno", "pqr", "end"})),
       {"RM::loadSprite(): Error! Extra BODY:", "\tline 16: mno", "\tline 17: pqr",
        "\tline 18: end"}},
      {replaced(GOOD, 1, "frames 3"), {"\tError! Line 16: No more frame data.", no_frame}},
      {replaced(MINIMAL, 3, "height 4"),
       {"\tError! Line 10: Body ends after row 3 of a 4-row frame.", no_frame}},
      {replaced(MINIMAL, 1, "frames -3"),
       {"RM::loadSprite(): Error! Line 2: 'frames' is -3; it cannot be negative."}},
      // Neither a width nor a frame count beyond the body reserves room for it.
      {replaced(MINIMAL, 2, "width 2147483647"),
       {"\tError! Line 7: Line length is 3 (frame width is 2147483647).", "\tLine 7: 'abc'",
        no_frame}},
      {replaced(MINIMAL, 1, "frames 2147483647"),
       {"\tError! Line 10: No more frame data.", no_frame}},
      {replaced(MINIMAL, 2, "wide 3"), {"RM::loadSprite(): Error! Missing 'width' in header."}},
      {lines(inserted(MINIMAL, 4, {"color purple"})),
       {"RM::loadSprite(): Error! Unrecognized color 'purple'.",
        "  Valid colors are: black, red, green, yellow,",
        "                    blue, magenta, cyan and white."}},
      {replaced(MINIMAL, 11, "release 1"),
       {"RM::loadSprite(): Error! Missing 'version' in FOOTER (line 12)."}},
      {"",
       {"getLine(): Error! Unexpected end of file.",
        "readData(): Error line 1! Expected '<HEADER>', have ''."}},
      {std::string(100000, 'x') + "\n",
       {"getLine(): Error! Line longer than 65536 characters.",
        "readData(): Error line 1! Expected '<HEADER>', have ''."}}};
  ResourceManager& resources = ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite(writeFile("ship.txt", lines(GOOD)), "ship"), 0);
  ASSERT_EQ(resources.loadSprite(writeFile("m.txt", lines(MINIMAL)), "m"), 0);
  const Sprite* ship = resources.getSprite("ship");
  const Sprite* m = resources.getSprite("m");
  EXPECT_EQ((std::vector<int>{ship->getColor(), ship->getFrameCount(), ship->getWidth(),
                              ship->getHeight(), ship->getSlowdown(), ship->getTransparency(),
                              m->getColor(), m->getSlowdown(), m->getTransparency()}),
            (std::vector<int>{RED, 2, 3, 2, 4, '#', WHITE, 0, 0}));
  EXPECT_EQ(ship->getFrame(0).getString() + ship->getFrame(1).getString(), "abcdefghijkl");
  int count = 2;
  for (const auto& [text, lines_after] : files) {
    SCOPED_TRACE(text.substr(0, 200));
    const bool good = lines_after == loaded;
    std::vector<std::string> log = {"RM::loadSprite(): Loading sprite '" + path("s.txt") + "'."};
    log.insert(log.end(), lines_after.begin(), lines_after.end());
    if (!good) log.push_back("RM::loadSprite(): Sprite 's' not loaded.");
    const auto before = static_cast<long>(logMessages().size());
    EXPECT_EQ(resources.loadSprite(writeFile("s.txt", text), "s"), good ? 0 : -1);
    const std::vector<std::string> all = logMessages();
    EXPECT_EQ(std::vector<std::string>(all.begin() + before, all.end()), log);
    EXPECT_EQ(resources.getSpriteCount(), count += good ? 1 : 0);
  }
}

}  // namespace
}  // namespace tx::test
