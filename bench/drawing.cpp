// Times whole display frames (every character drawn, then the swap) drawn by the display
// manager and, as the reference, one rectangle and one text draw per character straight into
// the window: a full screen that stays the same, a full screen that changes in every cell from
// one frame to the next, a half-empty screen, and game frames made of the game's sprites, still
// and under a climbing view. Prints milliseconds per frame, the reference-to-display ratios and
// the heap allocations of a steady display frame. Run from the project directory (font and
// sprites/) with an X display, e.g. under xvfb-run.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include <SFML/Graphics.hpp>

#include "DrawingScenes.h"
#include "Scratch.h"
#include "Timing.h"
#include "tolvex/core/Config.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/display/Frame.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/display/Sprite.h"
#include "tolvex/world/WorldManager.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

constexpr int WARM_UP_FRAMES = 20;
constexpr int ROUNDS = 20;
constexpr int FRAMES_PER_ROUND = 10;

using bench::Cell;
using bench::fullScreen;
using bench::Scene;
using bench::Scenes;

Scene halfEmptyScreen(int columns, int rows) {
  Scene scene = fullScreen(columns, rows);
  Scene half;
  for (std::size_t i = 0; i < scene.size(); i++)
    if ((i / 8) % 2 == 0) half.push_back(scene[i]);
  return half;
}

// The cells a sprite's first frame draws centred on position, as Frame::draw places them.
void addSprite(Scene& scene, const std::string& label, tx::Vector position) {
  const tx::Sprite* sprite = tx::ResourceManager::getInstance().getSprite(label);
  if (sprite == nullptr) {
    std::fprintf(stderr, "sprite '%s' missing: run from the project directory\n", label.c_str());
    std::exit(1);
  }
  const tx::Frame frame = sprite->getFrame(0);
  const std::string text = frame.getString();
  const float x_offset = static_cast<float>(frame.getWidth() - 1) * 0.5f;
  const float y_offset = static_cast<float>(frame.getHeight() - 1) * 0.5f;
  for (int y = 0; y < frame.getHeight(); y++)
    for (int x = 0; x < frame.getWidth(); x++) {
      const char c = text[static_cast<std::size_t>(y * frame.getWidth() + x)];
      if (sprite->getTransparency() != 0 && c == sprite->getTransparency()) continue;
      scene.push_back({tx::Vector(position.getX() + static_cast<float>(x) - x_offset,
                                  position.getY() + static_cast<float>(y) - y_offset),
                       c, sprite->getColor()});
    }
}

void addText(Scene& scene, const std::string& text, tx::Vector position, tx::Color color) {
  for (std::size_t i = 0; i < text.size(); i++)
    scene.push_back(
        {tx::Vector(position.getX() + static_cast<float>(i), position.getY()), text[i], color});
}

// The busiest play frame: the starry background, the floor, a dozen platforms on half-cell
// positions under a climbing (fractional) view, the player, a power-up and the three HUD lines.
// The world's sprites sit `climb` cells lower on the screen; the HUD stays put.
Scene gameFrame(float view_y, float climb = 0.0f) {
  Scene scene;
  view_y += climb;
  addSprite(scene, "background5", tx::Vector(40.0f, view_y + 11.5f));
  addSprite(scene, "floor", tx::Vector(40.0f, view_y + 23.0f));
  for (int i = 0; i < 12; i++)
    addSprite(scene, "platform" + std::to_string(1 + i % 5),
              tx::Vector(5.5f + static_cast<float>((i * 37) % 70),
                         view_y + 1.7f * static_cast<float>(i) + 1.0f));
  addSprite(scene, "powerup2", tx::Vector(50.0f, view_y + 9.3f));
  addSprite(scene, "playerj", tx::Vector(33.0f, view_y + 15.4f));
  view_y -= climb;
  addText(scene, "Height: 1234", tx::Vector(1.0f, view_y + 0.0f), tx::YELLOW);
  addText(scene, "Level: 5", tx::Vector(36.0f, view_y + 0.0f), tx::YELLOW);
  addText(scene, "Slow time: 12", tx::Vector(64.0f, view_y + 0.0f), tx::CYAN);
  return scene;
}

// Draws characters one rectangle and one text at a time, straight into the window.
class PerCharacter {
 public:
  PerCharacter() {
    rectangle.setSize(sf::Vector2f(tx::cellWidth(), tx::cellHeight()));
    rectangle.setFillColor(sf::Color::Black);
    text.setFont(tx::DisplayManager::getInstance().getFont());
    text.setStyle(sf::Text::Bold);
    const float size =
        tx::Config::getInstance().getFontScale() * std::min(tx::cellWidth(), tx::cellHeight());
    text.setCharacterSize(static_cast<unsigned int>(size));
  }

  void draw(sf::RenderWindow& window, const Cell& cell) {
    const tx::Vector pixel = tx::spacesToPixels(tx::worldToView(cell.position));
    rectangle.setPosition(pixel.getX() - tx::cellWidth() / 10.0f,
                          pixel.getY() + tx::cellHeight() / 5.0f);
    window.draw(rectangle);
    text.setString(sf::String(cell.ch));
    text.setPosition(pixel.getX(), pixel.getY());
    text.setFillColor(tx::colorToSFML(cell.color));
    window.draw(text);
  }

 private:
  sf::RectangleShape rectangle;
  sf::Text text;
};

struct Samples {
  std::vector<double> draw_ms;   // drawing calls alone
  std::vector<double> frame_ms;  // drawing calls and the swap
  long allocations = 0;
};

// Draws and swaps `frames` frames of the scenes in turn, one way, adding the timings to samples.
void runFrames(const Scenes& scenes, bool batched, int frames, PerCharacter& reference,
               Samples& samples) {
  tx::DisplayManager& display = tx::DisplayManager::getInstance();
  const long allocations_before = allocations.load();
  for (int i = 0; i < frames; i++) {
    const Scene& scene = scenes[static_cast<std::size_t>(i) % scenes.size()];
    const auto start = std::chrono::steady_clock::now();
    if (batched) {
      for (const Cell& cell : scene) display.drawCharacter(cell.position, cell.ch, cell.color);
    } else {
      // Asked for every frame: a frame starts from the background when it reaches the window.
      sf::RenderWindow& window = *display.getWindow();
      for (const Cell& cell : scene) reference.draw(window, cell);
    }
    const auto drawn = std::chrono::steady_clock::now();
    display.swapBuffers();
    const auto swapped = std::chrono::steady_clock::now();
    samples.draw_ms.push_back(std::chrono::duration<double, std::milli>(drawn - start).count());
    samples.frame_ms.push_back(std::chrono::duration<double, std::milli>(swapped - start).count());
  }
  samples.allocations += allocations.load() - allocations_before;
}

// The two ways take turns in short runs, so that a busy machine slows both alike.
void report(const char* name, const Scenes& scenes) {
  PerCharacter reference;
  Samples warm_up;
  runFrames(scenes, false, WARM_UP_FRAMES, reference, warm_up);
  runFrames(scenes, true, WARM_UP_FRAMES, reference, warm_up);
  Samples per_character;
  Samples batched;
  // Room for every sample up front: the allocation count is the display's alone.
  for (Samples* samples : {&per_character, &batched}) {
    samples->draw_ms.reserve(ROUNDS * FRAMES_PER_ROUND);
    samples->frame_ms.reserve(ROUNDS * FRAMES_PER_ROUND);
  }
  for (int round = 0; round < ROUNDS; round++) {
    runFrames(scenes, false, FRAMES_PER_ROUND, reference, per_character);
    runFrames(scenes, true, FRAMES_PER_ROUND, reference, batched);
  }
  const double reference_ms = bench::median(per_character.frame_ms);
  const double batched_ms = bench::median(batched.frame_ms);
  std::printf(
      "%-32s %5zu chars | per-character %7.2f ms (draws %6.2f) | display %6.2f ms "
      "(draws %5.2f) | ratio %5.2f | display allocations/frame %.2f\n",
      name, scenes.front().size(), reference_ms, bench::median(per_character.draw_ms), batched_ms,
      bench::median(batched.draw_ms), batched_ms > 0.0 ? reference_ms / batched_ms : 0.0,
      static_cast<double>(batched.allocations) / (ROUNDS * FRAMES_PER_ROUND));
}

}  // namespace

int main() {
  const std::string dir = bench::useScratch("drawing", "# default window\n");

  tx::Config::getInstance().loadConfig("");
  if (tx::LogManager::getInstance().startUp() != 0 ||
      tx::DisplayManager::getInstance().startUp() != 0 ||
      tx::ResourceManager::getInstance().startUp() != 0 ||
      tx::WorldManager::getInstance().startUp() != 0) {
    std::fprintf(stderr, "start-up failed (X display? font?); see %s/tolvex.log\n", dir.c_str());
    return 1;
  }
  tx::ResourceManager& resources = tx::ResourceManager::getInstance();
  resources.loadSprite("sprites/background5.txt", "background5");
  resources.loadSprite("sprites/floor.txt", "floor");
  for (int i = 1; i <= 5; i++)
    resources.loadSprite("sprites/platform" + std::to_string(i) + ".txt",
                         "platform" + std::to_string(i));
  resources.loadSprite("sprites/powerup2.txt", "powerup2");
  resources.loadSprite("sprites/playerjump.txt", "playerj");

  const tx::DisplayManager& display = tx::DisplayManager::getInstance();
  const int columns = display.getHorizontalCells();
  const int rows = display.getVerticalCells();
  // The game's view climbs by fractions of a cell.
  const float view_y = -137.37f;
  tx::WorldManager::getInstance().setView(
      tx::Box(tx::Vector(0.0f, view_y), static_cast<float>(columns), static_cast<float>(rows)));

  std::printf(
      "%d x %d cells, %d x %d pixels; frame = draws + swap, median of %d frames each way "
      "(ratio = per-character / display)\n",
      columns, rows, display.getHorizontalPixels(), display.getVerticalPixels(),
      ROUNDS * FRAMES_PER_ROUND);
  tx::WorldManager::getInstance().setView(
      tx::Box(tx::Vector(0.0f, 0.0f), static_cast<float>(columns), static_cast<float>(rows)));
  report("empty (swap only)", {Scene()});
  report("full screen, unchanged", bench::unchangedScreen(columns, rows));
  report("full screen, changes everywhere", bench::changingScreen(columns, rows));
  report("half-empty screen", {halfEmptyScreen(columns, rows)});
  tx::WorldManager::getInstance().setView(
      tx::Box(tx::Vector(0.0f, view_y), static_cast<float>(columns), static_cast<float>(rows)));
  report("game frame, still", {gameFrame(view_y)});
  // The view climbs a tenth of a cell a frame: every sprite moves down, the HUD stays put.
  Scenes climbing;
  for (int frame = 0; frame < 10; frame++)
    climbing.push_back(gameFrame(view_y, 0.1f * static_cast<float>(frame)));
  report("game frame, climbing", climbing);

  tx::WorldManager::getInstance().shutDown();
  tx::ResourceManager::getInstance().shutDown();
  tx::DisplayManager::getInstance().shutDown();
  tx::LogManager::getInstance().shutDown();
  return 0;
}
