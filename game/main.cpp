#include "GameStart.h"
#include "loadResources.h"
#include "tolvex/core/DataDirectory.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/core/SplashScreen.h"

int main() {
  // Where the sprites, sounds and font are while the game runs from its build; an installed game
  // finds them beside itself.
  tx::DataDirectory::getInstance().setBuildDirectory(SKYWARD_DATA_DIR);
  tx::GameManager& game_manager = tx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    tx::LogManager::getInstance().writeLog("Error starting game manager!");
  } else {
    tx::LogManager::getInstance().setFlush(true);
    tx::splash();
    loadResources();
    new GameStart();
    game_manager.run();
  }
  game_manager.shutDown();
  return game_manager.getExitStatus();
}
