#include "tolvex/core/SplashScreen.h"

#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/core/ObjectList.h"
#include "tolvex/core/ObjectListIterator.h"
#include "tolvex/core/Splash.h"
#include "tolvex/world/WorldManager.h"

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
  // A closed window ends the loop before the splash objects see game over; left alone they
  // would run on in the game's loop and end it. Inactive, they get no events until deleted.
  WorldManager& world_manager = WorldManager::getInstance();
  for (const char* type : {"Splash", "SplashTolvex"}) {
    const ObjectList left = world_manager.objectsOfType(type);
    for (ObjectListIterator it(&left); !it.isDone(); it.next()) {
      it.currentObject()->setActive(false);
      world_manager.markForDelete(it.currentObject());
    }
  }
  log.writeLog(10, "splash(): Finished.");
  return 0;
}

}  // namespace tx
