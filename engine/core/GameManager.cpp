#include "core/GameManager.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <ctime>

#include "core/Clock.h"
#include "core/Config.h"
#include "core/EventStep.h"
#include "core/LogManager.h"
#include "display/DisplayManager.h"
#include "display/InputManager.h"
#include "display/ResourceManager.h"
#include "network/NetworkManager.h"
#include "path/PathManager.h"
#include "platform/SystemClock.h"
#include "world/Box.h"
#include "world/Vector.h"
#include "world/WorldManager.h"

namespace tx {

namespace {

const char* const STAR_LINE = "****************************************************";

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
  LogManager& log_manager = LogManager::getInstance();
  if (isStarted()) {
    log_manager.writeLog("GameManager::startup(): Already started.");
    return 0;
  }

  // Read before the log opens: the configuration names the log file.
  Config& config = Config::getInstance();
  config.loadConfig("");

  if (log_manager.startUp() != 0) {
    log_manager.writeLog("Error starting log manager!");
    return -1;
  }
  log_manager.writeLog("%s", STAR_LINE);
  log_manager.writeLog("** Tolvex version %.2f **", static_cast<double>(TOLVEX_VERSION));
  log_manager.writeLog("** Game engine started **");
  log_manager.writeLog("%s", STAR_LINE);
  log_manager.writeLog(1, "Log Manager started.");
  config.printConfig();

  frame_time = config.getFrameTime();
  log_manager.writeLog(5, "GameManager::startUp(): frame time is %d", frame_time);

  DisplayManager& display_manager = DisplayManager::getInstance();
  if (display_manager.startUp() != 0) {
    log_manager.writeLog("Error starting display manager!");
    return -1;
  }
  log_manager.writeLog(1, "Display manager started.");

  if (InputManager::getInstance().startUp() != 0) {
    log_manager.writeLog("Error starting input manager!");
    return -1;
  }
  log_manager.writeLog(1, "Input manager started.");

  if (config.getNetworking()) {
    if (NetworkManager::getInstance().startUp() != 0) {
      log_manager.writeLog("Error starting network manager!");
      return -1;
    }
    log_manager.writeLog(1, "Network manager started.");
  }

  if (ResourceManager::getInstance().startUp() != 0) {
    log_manager.writeLog("Error starting resource manager!");
    return -1;
  }
  log_manager.writeLog(1, "Resource manager started.");

  WorldManager& world_manager = WorldManager::getInstance();
  if (world_manager.startUp() != 0) {
    log_manager.writeLog("Error starting world manager!");
    return -1;
  }
  log_manager.writeLog(1, "World manager started.");

  if (PathManager::getInstance().startUp() != 0) {
    log_manager.writeLog("Error starting path manager!");
    return -1;
  }
  log_manager.writeLog(1, "Path manager started.");

  const Box screen(Vector(0.0f, 0.0f), static_cast<float>(display_manager.getHorizontalCells()),
                   static_cast<float>(display_manager.getVerticalCells()));
  world_manager.setBoundary(screen);
  world_manager.setView(screen);
  world_manager.setViewSlack(Vector(1.0f / 3.0f, 1.0f / 3.0f));

  int seed = config.getRandomSeed();
  if (seed == 0) seed = static_cast<int>(static_cast<unsigned int>(std::time(nullptr)));
  if (seed != -1) {
    log_manager.writeLog(10, "GameManager()::startUp(): srand() seed with %d", seed);
    std::srand(static_cast<unsigned int>(seed));
  }

  if (requestTimerResolution() == TIMER_CANNOT_DO)
    log_manager.writeLog(
        1, "GameManager()::startUp(): Warning!  timeBeginPeriod() cannot accept 1 msec.");

  game_over = false;
  Manager::startUp();
  log_manager.writeLog(5, "GameManager::startUp(): successfully started.");
  return 0;
}

void GameManager::run() {
  LogManager& log_manager = LogManager::getInstance();
  const bool networking = Config::getInstance().getNetworking();
  Clock clock;
  log_manager.writeLog(1, "GameManager::run(): starting game loop");
  game_over = false;
  step_count = 0;
  // Oversleep measured in one frame, taken off the next frame's sleep (microseconds).
  int adjust = 0;

  do {
    const int frame_us = clampToInt(frame_time * 1000LL);
    clock.delta();

    const EventStep step(step_count);
    onEvent(&step);

    DisplayManager::getInstance().swapBuffers();
    InputManager::getInstance().getInput();

    if (networking) {
      NetworkManager& network_manager = NetworkManager::getInstance();
      if (network_manager.isServer()) network_manager.accept();
      const int deadline = clampToInt(
          static_cast<long long>(static_cast<float>(frame_time) * 0.2f * 1000.0f) + clock.split());
      while (network_manager.getNumConnected() > 0) {
        bool data_left = false;
        // The count is read again after every call: a call may close a connection.
        for (int i = 0; i < network_manager.getNumConnected(); ++i)
          if (network_manager.genDataEvents(i) > 0) data_left = true;
        if (!data_left) break;
        if (clock.split() >= deadline) {
          log_manager.writeLog("GameManager::run(): Warning! Residual network data.");
          break;
        }
      }
    }

    WorldManager::getInstance().update();
    WorldManager::getInstance().draw();

    const long long spare = static_cast<long long>(frame_us) - clock.split() - adjust;
    PathManager::getInstance().cycle(static_cast<int>(static_cast<float>(spare) * 0.95f / 1000.0f));

    const int split = clock.split();
    const int remaining = clampToInt(static_cast<long long>(frame_us) - split - adjust);
    if (remaining > 0) {
      const int before = clock.split();
      // Never more than one frame, whatever the wall clock did.
      sleepMilliseconds(std::min(remaining / 1000, frame_time));
      const int after = clock.split();
      const long long overslept = static_cast<long long>(after) - before - remaining;
      adjust = overslept > 0 ? clampToInt(overslept) : 0;
    } else if (adjust != 0) {
      adjust = 0;
    } else if (frame_time > 0 && step_count > 0) {
      log_manager.writeLog("GameManager::run(): Can't keep up! frame_time %d ms, split %d ms",
                           frame_time, split / 1000);
    }

    ++step_count;
  } while (!game_over);

  log_manager.writeLog(1, "GameManager::run(): end of game loop");
}

void GameManager::shutDown() {
  LogManager& log_manager = LogManager::getInstance();
  game_over = true;

  if (releaseTimerResolution() == TIMER_CANNOT_DO)
    log_manager.writeLog(
        1, "GameManager()::shutDown(): Warning! timeEndPeriod() cannot accept 1 msec.");

  PathManager::getInstance().shutDown();
  log_manager.writeLog(1, "Path manager stopped");
  WorldManager::getInstance().shutDown();
  log_manager.writeLog(1, "World manager stopped");
  ResourceManager::getInstance().shutDown();
  log_manager.writeLog(1, "Resource manager stopped");
  if (Config::getInstance().getNetworking()) {
    NetworkManager::getInstance().shutDown();
    log_manager.writeLog(1, "Network manager stopped");
  }
  InputManager::getInstance().shutDown();
  log_manager.writeLog(1, "Input manager stopped");
  DisplayManager::getInstance().shutDown();
  log_manager.writeLog(1, "Display manager stopped");

  log_manager.writeLog("%s", STAR_LINE);
  log_manager.writeLog("** Game engine stopped **");
  log_manager.shutDown();

  Manager::shutDown();
}

}  // namespace tx
