// The real program under its own X server, driven with real key presses through XTest.

#include <SFML/Graphics/Image.hpp>

#include "ProgramFixture.h"

#include <X11/Xutil.h>

namespace tx::test {
namespace {

// What the window shows, counted by colour family. The title screen is yellow alone; the
// head-up display (green and yellow) stays on screen from the start of a game to its end.
struct Ink {
  int red = 0, yellow = 0, white = 0, green = 0;
  long white_x_sum = 0;
  double whiteCentreX() const { return white > 0 ? static_cast<double>(white_x_sum) / white : -1; }
};

class GameProgram : public ProgramTest {
 protected:
  // The window's pixels counted, and saved as a PNG under the build's test artefacts if named.
  Ink capture(const std::string& name = "") {
    Ink ink;
    XWindowAttributes at;
    if (XGetWindowAttributes(display, window, &at) == 0) return ink;
    XImage* shot = XGetImage(display, window, 0, 0, static_cast<unsigned>(at.width),
                             static_cast<unsigned>(at.height), AllPlanes, ZPixmap);
    if (shot == nullptr) return ink;
    sf::Image image;
    image.create(static_cast<unsigned>(at.width), static_cast<unsigned>(at.height));
    for (int y = 0; y < at.height; ++y) {
      for (int x = 0; x < at.width; ++x) {
        const unsigned long pixel = XGetPixel(shot, x, y);
        const sf::Color c(static_cast<sf::Uint8>(pixel >> 16), static_cast<sf::Uint8>(pixel >> 8),
                          static_cast<sf::Uint8>(pixel));
        image.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y), c);
        // Only full-strength glyph pixels, not the blend at their edges.
        const bool r = c.r > 230, g = c.g > 230, b = c.b > 230;
        if (r && g && b) ink.white_x_sum += x;
        ink.white += r && g && b;
        ink.yellow += r && g && c.b < 40;
        ink.red += r && c.g < 40 && c.b < 40;
        ink.green += c.r < 40 && g && c.b < 40;
      }
    }
    XDestroyImage(shot);
    if (name.empty()) return ink;
    const std::filesystem::path shots =
        std::filesystem::path(TOLVEX_GAME_BINARY).parent_path() / "test-artifacts/game";
    std::filesystem::create_directories(shots);
    image.saveToFile((shots / (name + ".png")).string());
    return ink;
  }

  bool showsTitle() {
    const Ink ink = capture();
    return ink.red == 0 && ink.green == 0 && ink.yellow > 1000;
  }
};

TEST_F(GameProgram, PlaysTwoGamesAndQuitsFromTheTitle) {
  ASSERT_TRUE(launchAndFocus(TOLVEX_SOURCE_DIR));
  capture("1-splash");
  skipSplash();
  ASSERT_TRUE(waitFor([this] { return showsTitle(); }, 30, 400));
  capture("2-title");

  startGameWithP();
  Ink standing;
  ASSERT_TRUE(waitFor([&] { return (standing = capture("3-playing")).white > 0; }, 10, 400));
  EXPECT_GT(standing.green, 0);
  EXPECT_TRUE(tapUntil(XK_space, [this] { return logHas("0"); }));
  capture("4-jumping");
  bool moved_right = false;
  for (int attempt = 0; attempt < 3 && !moved_right; ++attempt) {
    tap(XK_d, 600);
    Ink moved;
    waitFor([&] { return (moved = capture("5-moved-right")).white > 0; }, 10, 400);
    moved_right = moved.whiteCentreX() > standing.whiteCentreX() + 12.0;
  }
  EXPECT_TRUE(moved_right);

  // Hands off: the floor scrolls away and the player falls out of the view.
  ASSERT_TRUE(waitFor([this] { return logHas("Player Dead."); }, 180)) << logText();
  EXPECT_TRUE(waitFor([this] { return capture().red > 1000; }, 10, 400)) << "game over";
  capture("6-game-over");
  ASSERT_TRUE(waitFor([this] { return showsTitle(); }, 60, 400));
  capture("7-title-again");

  startGameWithP();
  sleepMs(500);
  capture("8-second-game");
  // One pause object serves both games.
  EXPECT_EQ(logCount("Pause::Pause(): Pause enabled.  Press any other key to resume."), 1);
  ASSERT_TRUE(waitFor([this] { return logCount("Player Dead.") == 2; }, 180)) << logText();
  ASSERT_TRUE(waitFor([this] { return showsTitle(); }, 60, 400));

  EXPECT_EQ(quitWithQ(), 0);
  // The managers stop in order, the game manager last.
  const std::vector<std::string> lines = logMessages();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], std::string(52, '*'));
  EXPECT_EQ(lines.back(), "** Game engine stopped **");
  for (const std::string& line : lines) EXPECT_EQ(line.find("Error"), std::string::npos) << line;
}

TEST_F(GameProgram, QDuringPlayLeavesAtOnceAndCleanly) {
  ASSERT_TRUE(launchAndFocus(TOLVEX_SOURCE_DIR));
  skipSplash();
  startGameWithP();
  sleepMs(300);
  EXPECT_EQ(quitWithQ(), 0);
  // No orderly shut-down, and nothing went wrong on the way out.
  EXPECT_FALSE(logHas("** Game engine stopped **"));
  EXPECT_FALSE(logHas("Player Dead."));
  const std::string errors = readFile(path("stderr.txt"));
  for (const char* bad : {"rror", "AL lib", "Segmentation", "terminate", "Assertion"}) {
    EXPECT_EQ(errors.find(bad), std::string::npos) << errors;
  }
}

}  // namespace
}  // namespace tx::test
