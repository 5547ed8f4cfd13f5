#pragma once

#include <string>

#include "core/Manager.h"

namespace tx {

// Engine version printed in the start-up banner.
constexpr float TOLVEX_VERSION = 4.16f;

// Starts every other manager in a fixed order, runs the fixed-rate game loop that sends one
// "tx-step" event per iteration, and stops the managers in the reverse order.
class GameManager : public Manager {
 public:
  // The process-wide game manager.
  static GameManager& getInstance();
  GameManager(const GameManager&) = delete;
  GameManager& operator=(const GameManager&) = delete;

  // Reads the configuration, then starts log, display, input, network (only when configured),
  // resource, world and path managers. On -1 the managers already started stay running;
  // shutDown() stops them.
  int startUp() override;
  // Stops every manager in the reverse order of start-up, whether or not each was started.
  void shutDown() override;
  // Runs the game loop until game over is set; step numbers restart at 0 on every call.
  void run();

  // Ends the loop after the current iteration when true.
  void setGameOver(bool new_game_over = true) { game_over = new_game_over; }
  bool getGameOver() const { return game_over; }
  // Target frame time in milliseconds, copied from the configuration at start-up.
  int getFrameTime() const { return frame_time; }
  // Completed iterations of the current (or last) run.
  int getStepCount() const { return step_count; }
  // Only "tx-step".
  bool isValid(std::string label) const override;

 private:
  GameManager();

  bool game_over = false;
  int frame_time = 33;
  int step_count = 0;
};

}  // namespace tx
