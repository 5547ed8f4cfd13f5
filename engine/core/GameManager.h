#pragma once

#include <string>

#include "tolvex/core/Clock.h"
#include "tolvex/core/Manager.h"

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
  // resource, world and path managers, and then the input's replay or recording when
  // configured. A replay sets the frame time and the random seed to the recorded ones; one it
  // refuses fails the start-up. On -1 the managers already started stay running; shutDown()
  // stops them. A failure is also told on standard error in one line naming the cause and the
  // log file ("Tolvex: cannot open a window (is DISPLAY set?); see tolvex.log"). From here on
  // SIGINT and SIGTERM end the game in order (run() reads them) until shutDown().
  int startUp() override;
  // Stops every manager in the reverse order of start-up, whether or not each was started.
  void shutDown() override;
  // Runs the game loop, calling step() until game over is set or a stop signal (SIGINT,
  // SIGTERM) has come, which sets game over; step numbers restart at 0 and the carried
  // oversleep is dropped on every call.
  void run();
  // One iteration of the game loop: a "tx-step" event to every object registered for it, the
  // display shows the last frame and clears, input is turned into events, the network phase
  // runs (only when networking is configured, within a fifth of the frame), the world's update
  // and draw passes run, and path search gets most of what is left of the frame (a fixed number
  // of search steps while input is recorded or replayed). Then it sleeps out the frame, less the
  // oversleep carried from the step before (a frame time of 0 never sleeps; a replay sleeps the
  // frame divided by the replay speed, and not at all for a speed of 0), and counts the step.
  // Time spent paused (addPausedTime) counts neither as work nor as an overrun. It does not look
  // at game over; run() does.
  void step();

  // Microseconds the current step stood still inside a pause: they are left out of the step's
  // work, so that a pause is neither an overrun nor taken from the path search's share.
  void addPausedTime(int microseconds) { paused_time += microseconds; }

  // Ends the loop after the current iteration when true.
  void setGameOver(bool new_game_over = true) { game_over = new_game_over; }
  bool getGameOver() const { return game_over; }
  // Target frame time in milliseconds, copied from the configuration (or the replayed
  // recording) at start-up.
  int getFrameTime() const { return frame_time; }
  // Steps completed since the current (or last) run started.
  int getStepCount() const { return step_count; }
  // Steps completed since start-up, across every run: recordings and captures count these, so
  // the splash screen's steps come first and the game's follow.
  int getStepsSinceStartUp() const { return steps_since_start_up; }
  // Only "tx-step".
  bool isValid(std::string label) const override;
  // The status the program exits with: 1 after a failed start-up, 128 + the signal number
  // after a stop signal, else 0.
  int getExitStatus() const;

 private:
  GameManager();
  // Notes the failure and tells it on standard error; -1.
  int failStartUp(const std::string& failure);
  // True once a stop signal has come, setting game over (and logging it the first time).
  bool stopsOnSignal();
  // Starts the configured replay (-1 when it is refused) or seeds the generator, then the
  // configured recording.
  int startInput();
  // Turns arrived network data into events until none is left or the phase's time is up.
  void runNetworkPhase();
  void runPathSearch();
  bool replayWithoutSleep() const;
  // Sleeps what is left of the frame and measures the oversleep; logs a frame that overran.
  void sleepOutFrame();
  int frameMicroseconds() const;
  // Microseconds of the current step's work so far: its time less the time spent paused.
  int workSplit() const;

  bool game_over = false;
  int frame_time = 33;
  int step_count = 0;
  int steps_since_start_up = 0;
  // Restarted at the start of every step.
  Clock frame_clock;
  // Oversleep measured in one step, taken off the next step's sleep (microseconds).
  int adjust = 0;
  // Time the current step spent paused (microseconds).
  int paused_time = 0;
  // How fast a replay runs against real time (0: as fast as it can).
  float replay_speed = 1.0f;
  bool start_up_failed = false;
  bool signal_reported = false;
};

}  // namespace tx
