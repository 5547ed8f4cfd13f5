// The whole program flow run headless in one process, through the real game loop: splash,
// resources, title, one game played until the player dies, game over, title again, quit.
// The sanitizer build runs it with LeakSanitizer (tools/leak-check), so everything the game
// creates on the way must be released by the shut-down.

#include "GameStart.h"
#include "TestSupport.h"
#include "core/EventStep.h"
#include "core/GameManager.h"
#include "core/LogManager.h"
#include "core/splash.h"
#include "display/EventKeyboard.h"
#include "display/InputManager.h"
#include "loadResources.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace tx::test {
namespace {

// Plays the user's part from inside the loop: P on the title, then hands off until the game is
// over and the title is back, then quits. Gives up after max_steps.
class Director : public Object {
 public:
  explicit Director(int init_max_steps) : max_steps(init_max_steps) {
    setType("Director");
    setSolidness(SPECTRAL);
    setVisible(false);
    registerInterest(STEP_EVENT);
  }

  int eventHandler(const Event* event) override {
    if (event->getType() != STEP_EVENT) return 0;
    ++steps;
    WorldManager& world = WorldManager::getInstance();
    if (steps == 5) press(KeyCode::P);
    if (!world.objectsOfType("GameOver").isEmpty()) saw_game_over = true;
    const bool title_back = saw_game_over && world.objectsOfType("GameOver").isEmpty();
    if (title_back || steps >= max_steps) GameManager::getInstance().setGameOver(true);
    return 1;
  }

  bool sawGameOver() const { return saw_game_over; }
  int getSteps() const { return steps; }

 private:
  static void press(KeyCode key) {
    EventKeyboard event;
    event.setKey(key);
    event.setAction(KeyAction::PRESSED);
    InputManager::getInstance().onEvent(&event);
  }

  int max_steps;
  int steps = 0;
  bool saw_game_over = false;
};

class HeadlessRun : public EngineTest {};

TEST_F(HeadlessRun, PlaysOneGameToTheEndAndShutsDownCleanly) {
  // A short frame keeps the run quick; nothing here depends on real time.
  writeFile("tx-config.txt", "headless:true,\nframe_time:2,\nrandom_seed:7,\n");
  GameManager& game_manager = GameManager::getInstance();
  ASSERT_EQ(game_manager.startUp(), 0);
  LogManager::getInstance().setFlush(true);
  splash();
  loadResources();
  new GameStart();
  auto* director = new Director(30000);
  game_manager.run();
  EXPECT_TRUE(director->sawGameOver()) << "steps: " << director->getSteps();
  EXPECT_TRUE(logHas("Player Dead."));
  game_manager.shutDown();
  EXPECT_EQ(WorldManager::getInstance().getAllObjects(true).getCount(), 0);
  EXPECT_EQ(logMessages().back(), "** Game engine stopped **");
}

}  // namespace
}  // namespace tx::test
