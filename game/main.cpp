#include "GameStart.h"
#include "core/GameManager.h"
#include "core/LogManager.h"
#include "core/SplashScreen.h"
#include "loadResources.h"

int main() {
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
  return 0;
}
