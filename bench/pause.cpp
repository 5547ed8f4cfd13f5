// Processor time of the whole process while the game is paused: the pause object's wait against
// the old wait, which looked at the window every 30 microseconds, on the same window in the same
// run. Each wait lasts a fixed wall time and ends with a key press sent through XTest. Prints
// the share of one core each takes and their ratio. Run from the project directory (the font)
// with an X display, e.g. under xvfb-run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <X11/keysym.h>

#include "Scratch.h"
#include "XInput.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/Pause.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/platform/SystemClock.h"

namespace {

constexpr int WAIT_MILLISECONDS = 3000;
constexpr int ROUNDS = 2;
constexpr int OLD_POLL_MICROSECONDS = 30;

double processSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Share of one core the process takes while wait runs, which a key press ends after the wall
// time.
double coreShare(unsigned long window, const std::function<void()>& wait) {
  std::thread user([window] {
    std::this_thread::sleep_for(std::chrono::milliseconds(WAIT_MILLISECONDS));
    tx::test::XInput keyboard;
    keyboard.focus(window);
    keyboard.pressKey(XK_a);
    keyboard.releaseKey(XK_a);
  });
  const auto wall_start = std::chrono::steady_clock::now();
  const double cpu_start = processSeconds();
  wait();
  const double cpu = processSeconds() - cpu_start;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
  user.join();
  return cpu / wall;
}

// The wait as it was: every pending event taken, then 30 microseconds, until a key press.
void oldWait(sf::Window& window) {
  bool paused = true;
  while (paused) {
    sf::Event event;
    while (window.pollEvent(event))
      if (event.type == sf::Event::KeyPressed) paused = false;
    if (paused) tx::waitMicroseconds(OLD_POLL_MICROSECONDS);
  }
}

}  // namespace

int main() {
  const std::string dir = bench::useScratch("pause", "");
  tx::GameManager& game_manager = tx::GameManager::getInstance();
  tx::test::XInput input;
  if (!input.isOpen() || game_manager.startUp() != 0) {
    std::fprintf(stderr, "needs an X display and a started game manager; see %s/tolvex.log\n",
                 dir.c_str());
    game_manager.shutDown();
    return 1;
  }
  sf::RenderWindow& window = *tx::DisplayManager::getInstance().getWindow();
  input.focus(window.getSystemHandle());
  auto* pause = new tx::Pause(tx::KeyCode::F10);
  tx::EventKeyboard pause_key;
  pause_key.setKey(tx::KeyCode::F10);
  pause_key.setAction(tx::KeyAction::PRESSED);

  double old_share = 0.0, new_share = 0.0;
  for (int round = 0; round < ROUNDS; ++round) {
    old_share += coreShare(window.getSystemHandle(), [&] { oldWait(window); }) / ROUNDS;
    new_share +=
        coreShare(window.getSystemHandle(), [&] { pause->eventHandler(&pause_key); }) / ROUNDS;
  }
  game_manager.shutDown();
  std::printf("paused for %d ms, %d rounds: share of one core taken by the whole process\n",
              WAIT_MILLISECONDS, ROUNDS);
  std::printf("old wait, a look every %d us: %5.1f %%\n", OLD_POLL_MICROSECONDS, 100.0 * old_share);
  std::printf("pause, a look every %d us:   %5.1f %%\n", tx::Pause::POLL_MICROSECONDS,
              100.0 * new_share);
  std::printf("old / new: %.0f\n", new_share > 0.0 ? old_share / new_share : 0.0);
  return 0;
}
