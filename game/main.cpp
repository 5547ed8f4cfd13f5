#include "core/GameManager.h"
#include "core/LogManager.h"

int main() {
  tx::GameManager& game_manager = tx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    tx::LogManager::getInstance().writeLog("Error starting game manager!");
  } else {
    tx::LogManager::getInstance().setFlush(true);
    game_manager.run();
  }
  game_manager.shutDown();
  return 0;
}
