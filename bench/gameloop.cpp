// Runs the empty game loop (headless, default frame time) for 300 steps and prints how evenly
// it keeps the frame period and how much processor time each step costs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "Scratch.h"
#include "tolvex/core/EventStep.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/world/Object.h"

namespace {

constexpr int STEPS = 300;

// Notes the time of every step and ends the loop after the last one.
class StepTimer : public tx::Object {
 public:
  StepTimer() { registerInterest(tx::STEP_EVENT); }
  int eventHandler(const tx::Event* event) override {
    if (event->getType() != tx::STEP_EVENT) return 0;
    stamps.push_back(std::chrono::steady_clock::now());
    if (static_cast<int>(stamps.size()) == STEPS + 1) tx::GameManager::getInstance().setGameOver();
    return 1;
  }
  std::vector<std::chrono::steady_clock::time_point> stamps;
};

}  // namespace

int main() {
  const std::string dir = bench::useScratch("gameloop", "headless:true,\n");

  tx::GameManager& game_manager = tx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    std::fprintf(stderr, "game manager failed to start; see %s/tolvex.log\n", dir.c_str());
    game_manager.shutDown();
    return 1;
  }
  StepTimer* timer = new StepTimer;
  const std::clock_t cpu_start = std::clock();
  game_manager.run();
  const std::clock_t cpu_end = std::clock();

  std::vector<double> periods_ms;
  for (std::size_t i = 1; i < timer->stamps.size(); ++i)
    periods_ms.push_back(
        std::chrono::duration<double, std::milli>(timer->stamps[i] - timer->stamps[i - 1]).count());
  const int frame_time = game_manager.getFrameTime();
  game_manager.shutDown();  // deletes the timer with the rest of the world

  std::sort(periods_ms.begin(), periods_ms.end());
  double sum = 0.0;
  for (double p : periods_ms) sum += p;
  const std::size_t n = periods_ms.size();
  const double mean = sum / static_cast<double>(n);
  const double median =
      n % 2 ? periods_ms[n / 2] : (periods_ms[n / 2 - 1] + periods_ms[n / 2]) / 2.0;
  const double p99 = periods_ms[std::min(n - 1, (n * 99 + 99) / 100 - 1)];
  const double cpu_ms_per_step =
      1000.0 * static_cast<double>(cpu_end - cpu_start) / CLOCKS_PER_SEC / (STEPS + 1);

  std::printf("empty game loop, headless, frame time %d ms, %zu frame periods\n", frame_time, n);
  std::printf("frame period: mean %.3f ms, median %.3f ms, 99th percentile %.3f ms\n", mean, median,
              p99);
  std::printf("process CPU time per step: %.4f ms\n", cpu_ms_per_step);
  return 0;
}
