// The whole program flow headless, through the real game loop: splash, resources, title, one
// game until the player dies, game over, title again, quit. tools/leak-check runs it under
// LeakSanitizer: everything the game creates must be released by the shut-down.

#include "GameFixture.h"
#include "core/SplashScreen.h"

namespace tx::test {
namespace {

// Plays the user's part from inside the loop: P on the title, then hands off until the game is
// over and the title is back, then quits. Gives up after 30000 steps.
class Director : public Object {
 public:
  Director() {
    registerInterest(STEP_EVENT);
    setSolidness(SPECTRAL);
  }

  int eventHandler(const Event* event) override {
    if (event->getType() != STEP_EVENT) return 0;
    EventKeyboard p;
    p.setKey(KeyCode::P);
    p.setAction(KeyAction::PRESSED);
    if (++steps == 5) InputManager::getInstance().onEvent(&p);
    const bool over = !WorldManager::getInstance().objectsOfType("GameOver").isEmpty();
    saw_game_over = saw_game_over || over;
    if ((saw_game_over && !over) || steps >= 30000) GameManager::getInstance().setGameOver(true);
    return 1;
  }

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
  auto* director = new Director();
  game_manager.run();
  EXPECT_TRUE(director->saw_game_over) << "steps: " << director->steps;
  EXPECT_TRUE(logHas("Player Dead."));
  game_manager.shutDown();
  EXPECT_EQ(WorldManager::getInstance().getAllObjects(true).getCount(), 0);
  EXPECT_EQ(logMessages().back(), "** Game engine stopped **");
}

}  // namespace
}  // namespace tx::test
