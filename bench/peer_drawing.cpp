// The engine's display against libtcod's SDL2 renderer (which also redraws only the cells that
// changed) on the same two 80 x 24 screens, in one run: a full screen that stays the same, and
// one that changes in every cell from frame to frame. Each side draws every cell and presents
// the frame; libtcod gets the game's font at 13 x 32 pixels a tile, in a window of the engine's
// 1024 x 768. The two take turns in blocks, each block in a child process of its own (two
// graphics libraries do not share one GL context politely), so that a busy machine slows both
// alike. Prints the median milliseconds per frame of each and the libtcod-to-engine ratio (above
// 1: the engine is faster). Run from the project directory with an X display, e.g. under
// xvfb-run. Built only when libtcod is installed (tools/install-peers).
#include <libtcod.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "DrawingScenes.h"
#include "Scratch.h"
#include "Timing.h"
#include "tolvex/core/Config.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/world/WorldManager.h"

namespace {

constexpr int COLUMNS = 80;
constexpr int ROWS = 24;
constexpr int WARM_UP_FRAMES = 10;
constexpr int FRAMES_PER_BLOCK = 40;
constexpr int BLOCKS = 5;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Times `frames` frames of the scenes in turn after a warm-up; draw(scene) draws and presents.
template <typename Draw>
std::vector<double> timeFrames(const bench::Scenes& scenes, Draw draw) {
  std::vector<double> times;
  for (int i = 0; i < WARM_UP_FRAMES + FRAMES_PER_BLOCK; i++) {
    const bench::Scene& scene = scenes[static_cast<std::size_t>(i) % scenes.size()];
    const Clock::time_point start = Clock::now();
    draw(scene);
    if (i >= WARM_UP_FRAMES) times.push_back(millisecondsSince(start));
  }
  return times;
}

std::vector<double> engineBlock(const bench::Scenes& scenes) {
  const std::string dir = bench::useScratch("peer-drawing", "# default window\n");
  tx::Config::getInstance().loadConfig("");
  tx::DisplayManager& display = tx::DisplayManager::getInstance();
  if (tx::LogManager::getInstance().startUp() != 0 || display.startUp() != 0 ||
      tx::WorldManager::getInstance().startUp() != 0) {
    std::fprintf(stderr, "engine start-up failed (X display? font?); see %s/tolvex.log\n",
                 dir.c_str());
    std::exit(1);
  }
  return timeFrames(scenes, [&](const bench::Scene& scene) {
    for (const bench::Cell& cell : scene) display.drawCharacter(cell.position, cell.ch, cell.color);
    display.swapBuffers();
  });
}

std::vector<double> libtcodBlock(const bench::Scenes& scenes) {
  TCOD_Tileset* tileset = TCOD_load_truetype_font_("tx-font.ttf", 13, 32);
  TCOD_ContextParams params{};
  params.tcod_version = TCOD_COMPILEDVERSION;
  params.columns = COLUMNS;
  params.rows = ROWS;
  params.pixel_width = 1024;
  params.pixel_height = 768;
  params.renderer_type = TCOD_RENDERER_SDL2;
  params.tileset = tileset;
  params.window_title = "peer_drawing";
  TCOD_Context* context = nullptr;
  if (tileset == nullptr || TCOD_context_new(&params, &context) < 0) {
    std::fprintf(stderr, "libtcod start-up failed: %s\n", TCOD_get_error());
    std::exit(1);
  }
  TCOD_Console* console = TCOD_console_new(COLUMNS, ROWS);
  // The engine's colours, as its colour values index them.
  const TCOD_color_t colors[] = {{0, 0, 0},   {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                 {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  std::vector<double> times = timeFrames(scenes, [&](const bench::Scene& scene) {
    for (const bench::Cell& cell : scene)
      TCOD_console_put_char_ex(console, static_cast<int>(cell.position.getX()),
                               static_cast<int>(cell.position.getY()), cell.ch, colors[cell.color],
                               colors[tx::BLACK]);
    TCOD_context_present(context, console, nullptr);
  });
  TCOD_console_delete(console);
  TCOD_context_delete(context);
  TCOD_tileset_delete(tileset);
  return times;
}

// Runs one block in a child process and adds its frame times to times.
void runBlock(std::vector<double> (*block)(const bench::Scenes&), const bench::Scenes& scenes,
              std::vector<double>& times) {
  int channel[2];
  if (pipe(channel) != 0) std::exit(1);
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const std::vector<double> measured = block(scenes);
    const ssize_t size = static_cast<ssize_t>(measured.size() * sizeof(double));
    _exit(write(channel[1], measured.data(), measured.size() * sizeof(double)) == size ? 0 : 1);
  }
  close(channel[1]);
  std::vector<double> measured(FRAMES_PER_BLOCK);
  const ssize_t size = static_cast<ssize_t>(measured.size() * sizeof(double));
  const bool whole = read(channel[0], measured.data(), measured.size() * sizeof(double)) == size;
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!whole || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "a benchmark block failed\n");
    std::exit(1);
  }
  times.insert(times.end(), measured.begin(), measured.end());
}

void report(const char* name, const bench::Scenes& scenes) {
  std::vector<double> engine;
  std::vector<double> libtcod;
  for (int block = 0; block < BLOCKS; block++) {
    runBlock(libtcodBlock, scenes, libtcod);
    runBlock(engineBlock, scenes, engine);
  }
  const double engine_ms = bench::median(engine);
  const double libtcod_ms = bench::median(libtcod);
  std::printf("%-32s | libtcod SDL2 %7.2f ms | engine %7.2f ms | libtcod / engine %5.2f\n", name,
              libtcod_ms, engine_ms, libtcod_ms / engine_ms);
  // Before the next fork: a child must not inherit the line and write it again.
  std::fflush(stdout);
}

}  // namespace

int main() {
  std::printf(
      "%d x %d cells in a 1024 x 768 window; frame = every cell drawn, then presented; median of "
      "%d frames each\n",
      COLUMNS, ROWS, BLOCKS * FRAMES_PER_BLOCK);
  std::fflush(stdout);
  report("full screen, unchanged", bench::unchangedScreen(COLUMNS, ROWS));
  report("full screen, changes everywhere", bench::changingScreen(COLUMNS, ROWS));
  return 0;
}
