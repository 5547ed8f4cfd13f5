// A small game to start from: the arrow keys steer a player, a wall stops it, a display counts
// the bumps and a sound plays at each. Close the window to quit. A "step_limit:<steps>," entry
// in tx-config.txt ends the game after that many steps, with "headless:true," without a window.
// Every engine header at once; Player and Wall include the ones they use.
#include <tolvex/tolvex.h>

#include "Player.h"
#include "Wall.h"

namespace {

// Ends the game after a number of steps, for runs nobody watches.
class StepLimit : public tx::Object {
 public:
  explicit StepLimit(int init_steps) : steps(init_steps) {
    setSolidness(tx::SPECTRAL);
    registerInterest(tx::STEP_EVENT);
  }

  int eventHandler(const tx::Event* event) override {
    const auto* step = dynamic_cast<const tx::EventStep*>(event);
    if (step == nullptr) return 0;
    // Step counts start at 0.
    if (step->getStepCount() + 1 >= steps) tx::GameManager::getInstance().setGameOver();
    return 1;
  }

 private:
  int steps;
};

// The world of the game: a wall across the player's way, the player and the bump counter.
void makeWorld() {
  new Wall(tx::Vector(60.0f, 4.0f), 16);
  new Player(tx::Vector(10.0f, 12.0f));
  auto* bumps = new tx::ViewObject;
  bumps->setViewString("Bumps");
  bumps->setLocation(tx::TOP_LEFT);
}

}  // namespace

int main() {
  // Run from its build, the game reads its files from its source directory (see
  // CMakeLists.txt); installed, from share/starter beside the program's bin/ directory.
  tx::DataDirectory::getInstance().setBuildDirectory(STARTER_DATA_DIR);
  tx::GameManager& game_manager = tx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    tx::LogManager::getInstance().writeLog("Error starting game manager!");
    game_manager.shutDown();
    return 1;
  }
  tx::LogManager::getInstance().setFlush(true);

  tx::ResourceManager& resources = tx::ResourceManager::getInstance();
  resources.loadSprite("sprites/player.txt", "player");
  resources.loadSound("sounds/bump.wav", "bump");
  makeWorld();
  // Settings of the game's own sit in the same configuration text as the engine's.
  const std::string config = tx::Config::getInstance().getConfigText();
  const int step_limit = tx::readInt(tx::match(config, "step_limit"));
  if (step_limit > 0) new StepLimit(step_limit);

  game_manager.run();
  // The world deletes every object it holds.
  game_manager.shutDown();
  return 0;
}
