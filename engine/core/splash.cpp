#include "core/splash.h"

#include "core/GameManager.h"
#include "core/LogManager.h"
#include "core/Splash.h"

namespace tx {

int splash() {
  const LogManager& log = LogManager::getInstance();
  log.writeLog(10, "splash(): Started.");
  GameManager& game_manager = GameManager::getInstance();
  if (!game_manager.isStarted()) {
    log.writeLog("splash(): Error! Cannot run splash screen until game manger is started.");
    return -1;
  }
  new Splash;
  game_manager.run();
  log.writeLog(10, "splash(): Finished.");
  return 0;
}

}  // namespace tx
