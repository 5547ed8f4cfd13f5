#include "tolvex/core/GameManager.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <string>

#include "tolvex/core/Config.h"
#include "tolvex/core/DataDirectory.h"
#include "tolvex/core/EventStep.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/display/InputManager.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/network/NetworkManager.h"
#include "tolvex/path/PathManager.h"
#include "tolvex/platform/DisplayConnection.h"
#include "tolvex/platform/StopSignals.h"
#include "tolvex/platform/SystemClock.h"
#include "tolvex/world/Box.h"
#include "tolvex/world/Vector.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

namespace {

const char* const STAR_LINE = "****************************************************";

// Part of the frame the network phase may spend turning arrived data into events.
constexpr float NETWORK_FRAME_SHARE = 0.2f;
// Part of what the world's passes leave of the frame that path search may spend; the rest
// keeps the sleep from starting late.
constexpr float PATH_SEARCH_SHARE = 0.95f;

// The process-wide instance of a manager, as the base class.
template <class ConcreteManager>
Manager& instanceOf() {
  return ConcreteManager::getInstance();
}

// A manager the game manager starts and stops, with its lines in the log and what a failed
// start means to the person who started the program.
struct ManagerEntry {
  Manager& (*instance)();
  const char* start_error;
  const char* started;
  const char* stopped;
  bool networking_only;
  const char* failure;
};

// In start order; they stop in the reverse order. The log manager is not here: it opens before
// the banner and closes after it.
const ManagerEntry MANAGER_ORDER[] = {
    {instanceOf<DisplayManager>, "Error starting display manager!", "Display manager started.",
     "Display manager stopped", false, "cannot open a window of that size or load the font"},
    {instanceOf<InputManager>, "Error starting input manager!", "Input manager started.",
     "Input manager stopped", false, "cannot read the keyboard and mouse"},
    {instanceOf<NetworkManager>, "Error starting network manager!", "Network manager started.",
     "Network manager stopped", true, "cannot start networking"},
    {instanceOf<ResourceManager>, "Error starting resource manager!", "Resource manager started.",
     "Resource manager stopped", false, "cannot start the resource manager"},
    {instanceOf<WorldManager>, "Error starting world manager!", "World manager started.",
     "World manager stopped", false, "cannot start the world"},
    {instanceOf<PathManager>, "Error starting path manager!", "Path manager started.",
     "Path manager stopped", false, "cannot start path finding"},
};

bool isConfigured(const ManagerEntry& entry) {
  return !entry.networking_only || Config::getInstance().getNetworking();
}

// What went wrong, for the person who started the program, when the entry's manager failed.
std::string failureOf(const ManagerEntry& entry) {
  // Without a display there is no window at all, whatever else the display would have refused.
  if (entry.instance == instanceOf<DisplayManager> && !Config::getInstance().getHeadless() &&
      !DisplayConnection().isOpen())
    return "cannot open a window (is DISPLAY set?)";
  return entry.failure;
}

// Starts the managers in order, stopping at the first that fails (those started stay running,
// and failure says why).
int startManagers(std::string& failure) {
  const LogManager& log_manager = LogManager::getInstance();
  for (const ManagerEntry& entry : MANAGER_ORDER) {
    if (!isConfigured(entry)) continue;
    if (entry.instance().startUp() != 0) {
      log_manager.writeLog("%s", entry.start_error);
      failure = failureOf(entry);
      return -1;
    }
    log_manager.writeLog(1, "%s", entry.started);
  }
  return 0;
}

// Stops the managers in the reverse order of start, whether or not each was started.
void stopManagers() {
  const LogManager& log_manager = LogManager::getInstance();
  for (auto entry = std::rbegin(MANAGER_ORDER); entry != std::rend(MANAGER_ORDER); ++entry) {
    if (!isConfigured(*entry)) continue;
    entry->instance().shutDown();
    log_manager.writeLog(1, "%s", entry->stopped);
  }
}

// Opens the log and writes the banner and the configuration.
int startLog() {
  LogManager& log_manager = LogManager::getInstance();
  if (log_manager.startUp() != 0) {
    log_manager.writeLog("Error starting log manager!");
    return -1;
  }
  log_manager.writeLog("%s", STAR_LINE);
  log_manager.writeLog("** Tolvex version %.2f **", static_cast<double>(TOLVEX_VERSION));
  log_manager.writeLog("** Game engine started **");
  log_manager.writeLog("%s", STAR_LINE);
  log_manager.writeLog(1, "Log Manager started.");
  Config::getInstance().printConfig();
  return 0;
}

// The world's boundary and view become the display's cells; the view keeps a third as slack.
void fitWorldToDisplay() {
  const DisplayManager& display_manager = DisplayManager::getInstance();
  WorldManager& world_manager = WorldManager::getInstance();
  const Box screen(Vector(0.0f, 0.0f), static_cast<float>(display_manager.getHorizontalCells()),
                   static_cast<float>(display_manager.getVerticalCells()));
  world_manager.setBoundary(screen);
  world_manager.setView(screen);
  world_manager.setViewSlack(Vector(1.0f / 3.0f, 1.0f / 3.0f));
}

// The configured seed, with 0 meaning the calendar time.
int chooseSeed(int configured) {
  if (configured != 0) return configured;
  return static_cast<int>(static_cast<unsigned int>(std::time(nullptr)));
}

// -1 leaves the generator unseeded.
void seedRandom(int seed) {
  if (seed == -1) return;
  LogManager::getInstance().writeLog(10, "GameManager()::startUp(): srand() seed with %d", seed);
  std::srand(static_cast<unsigned int>(seed));
}

// An unseeded generator gives what seed 1 gives, so that is the seed a recording names.
int seedInEffect(int seed) { return seed == -1 ? 1 : seed; }

// Holds a 64-bit intermediate to the int range, so odd frame times cannot overflow.
int clampToInt(long long value) {
  return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, value)));
}

}  // namespace

GameManager::GameManager() { setType("GameManager"); }

GameManager& GameManager::getInstance() {
  static GameManager game_manager;
  return game_manager;
}

bool GameManager::isValid(std::string label) const { return label == STEP_EVENT; }

int GameManager::startUp() {
  const LogManager& log_manager = LogManager::getInstance();
  if (isStarted()) {
    log_manager.writeLog("GameManager::startup(): Already started.");
    return 0;
  }
  start_up_failed = false;
  steps_since_start_up = 0;
  catchStopSignals();
  // Read before the log opens: the configuration names the log file.
  Config& config = Config::getInstance();
  config.loadConfig("");
  // Also before the log opens, so that a missing data directory is reported on the terminal.
  DataDirectory::getInstance().choose();
  if (startLog() != 0)
    return failStartUp("cannot open the log file '" + log_manager.getFileName() + "'");
  frame_time = config.getFrameTime();
  log_manager.writeLog(5, "GameManager::startUp(): frame time is %d", frame_time);
  std::string failure;
  if (startManagers(failure) != 0)
    return failStartUp(failure + "; see " + log_manager.getFileName());

  fitWorldToDisplay();
  if (startInput() != 0)
    return failStartUp("cannot replay '" + config.getReplayInput() + "'; see " +
                       log_manager.getFileName());
  if (requestTimerResolution() == TIMER_CANNOT_DO)
    log_manager.writeLog(
        1, "GameManager()::startUp(): Warning!  timeBeginPeriod() cannot accept 1 msec.");

  game_over = false;
  Manager::startUp();
  log_manager.writeLog(5, "GameManager::startUp(): successfully started.");
  return 0;
}

int GameManager::failStartUp(const std::string& failure) {
  start_up_failed = true;
  std::fprintf(stderr, "Tolvex: %s\n", failure.c_str());
  return -1;
}

int GameManager::getExitStatus() const {
  if (start_up_failed) return 1;
  return stopSignal() != 0 ? 128 + stopSignal() : 0;
}

int GameManager::startInput() {
  const Config& config = Config::getInstance();
  InputManager& input_manager = InputManager::getInstance();
  int seed = chooseSeed(config.getRandomSeed());
  const std::string replay_path = config.getReplayInput();
  if (!replay_path.empty()) {
    if (input_manager.startReplay(replay_path) != 0) return -1;
    // The recorded game's own pace and randomness, whatever this configuration says.
    frame_time = input_manager.getReplayHeader().frame_time;
    seed = input_manager.getReplayHeader().random_seed;
    replay_speed = config.getReplaySpeed();
  }
  seedRandom(seed);
  const std::string record_path = config.getRecordInput();
  if (!record_path.empty()) input_manager.startRecording(record_path, seedInEffect(seed));
  return 0;
}

void GameManager::run() {
  const LogManager& log_manager = LogManager::getInstance();
  log_manager.writeLog(1, "GameManager::run(): starting game loop");
  game_over = false;
  step_count = 0;
  adjust = 0;
  while (!stopsOnSignal()) {
    step();
    if (game_over) break;
  }
  log_manager.writeLog(1, "GameManager::run(): end of game loop");
}

bool GameManager::stopsOnSignal() {
  if (stopSignal() == 0) return false;
  if (!signal_reported)
    LogManager::getInstance().writeLog("GameManager::run(): Signal %d received: game over.",
                                       stopSignal());
  signal_reported = true;
  game_over = true;
  return true;
}

void GameManager::step() {
  frame_clock.delta();
  paused_time = 0;
  const EventStep step_event(step_count);
  onEvent(&step_event);

  DisplayManager::getInstance().swapBuffers();
  InputManager::getInstance().getInput();
  if (Config::getInstance().getNetworking()) runNetworkPhase();
  WorldManager::getInstance().update();
  WorldManager::getInstance().draw();
  runPathSearch();
  if (!replayWithoutSleep()) sleepOutFrame();
  ++step_count;
  ++steps_since_start_up;
}

// Recorded and replayed games count search steps: time would make them differ.
void GameManager::runPathSearch() {
  PathManager& path_manager = PathManager::getInstance();
  const InputManager& input_manager = InputManager::getInstance();
  if (input_manager.isRecording() || input_manager.isReplaying()) {
    path_manager.cycleSteps(Config::getInstance().getPathSearchSteps());
    return;
  }
  const long long spare = static_cast<long long>(frameMicroseconds()) - workSplit() - adjust;
  path_manager.cycle(static_cast<int>(static_cast<float>(spare) * PATH_SEARCH_SHARE / 1000.0f));
}

bool GameManager::replayWithoutSleep() const {
  return InputManager::getInstance().isReplaying() && replay_speed <= 0.0f;
}

void GameManager::runNetworkPhase() {
  NetworkManager& network_manager = NetworkManager::getInstance();
  if (network_manager.isServer()) network_manager.acceptWaiting();
  const int deadline = clampToInt(
      static_cast<long long>(static_cast<float>(frame_time) * NETWORK_FRAME_SHARE * 1000.0f) +
      frame_clock.split());
  while (network_manager.getNumConnected() > 0) {
    bool data_left = false;
    // The count is read again after every call: a call may close a connection.
    for (int i = 0; i < network_manager.getNumConnected(); ++i)
      if (network_manager.genDataEvents(i) > 0) data_left = true;
    if (!data_left) return;
    if (frame_clock.split() >= deadline) {
      LogManager::getInstance().writeLog("GameManager::run(): Warning! Residual network data.");
      return;
    }
  }
}

void GameManager::sleepOutFrame() {
  const int split = workSplit();
  const int remaining = clampToInt(static_cast<long long>(frameMicroseconds()) - split - adjust);
  if (remaining > 0) {
    const int before = frame_clock.split();
    // Never more than one frame, whatever the wall clock did.
    sleepMilliseconds(std::min(remaining / 1000, frameMicroseconds() / 1000));
    const long long overslept = static_cast<long long>(frame_clock.split()) - before - remaining;
    adjust = overslept > 0 ? clampToInt(overslept) : 0;
  } else if (adjust != 0) {
    // An overrun right after an oversleep only drops the carry.
    adjust = 0;
  } else if (frame_time > 0 && step_count > 0) {
    LogManager::getInstance().writeLog(
        "GameManager::run(): Can't keep up! frame_time %d ms, split %d ms", frame_time,
        split / 1000);
  }
}

int GameManager::workSplit() const {
  return clampToInt(static_cast<long long>(frame_clock.split()) - paused_time);
}

int GameManager::frameMicroseconds() const {
  if (!InputManager::getInstance().isReplaying()) return clampToInt(frame_time * 1000LL);
  const double scaled = static_cast<double>(frame_time) * 1000.0 / replay_speed;
  return clampToInt(std::llround(std::min(scaled, static_cast<double>(INT_MAX))));
}

void GameManager::shutDown() {
  LogManager& log_manager = LogManager::getInstance();
  game_over = true;
  if (releaseTimerResolution() == TIMER_CANNOT_DO)
    log_manager.writeLog(
        1, "GameManager()::shutDown(): Warning! timeEndPeriod() cannot accept 1 msec.");
  stopManagers();
  log_manager.writeLog("%s", STAR_LINE);
  log_manager.writeLog("** Game engine stopped **");
  log_manager.shutDown();
  Manager::shutDown();
  releaseStopSignals();
}

}  // namespace tx
