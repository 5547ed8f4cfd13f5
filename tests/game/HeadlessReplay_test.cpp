// A game of the real game's classes recorded headless with scripted input, then replayed at full
// speed in a fresh process: the game must come out the same, line for line and step for step.

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <sstream>

#include "GameFixture.h"
#include "GameWorld.h"
#include "Points.h"
#include "tolvex/core/SplashScreen.h"
#include "tolvex/display/InputEvent.h"

namespace tx::test {
namespace {

// Plays through the input manager while recording: Space ends the splash screen, P starts a
// game, then it climbs (runs under the nearest platform above and jumps) and clicks now and then
// until the player is dead; Q on the title once the game is over. Replaying, it only watches.
// Both times it logs where the player is every tenth step, and gives up after 20000 steps.
class ScriptedPlayer : public Object {
 public:
  explicit ScriptedPlayer(bool init_plays) : plays(init_plays) {
    registerInterest(STEP_EVENT);
    setSolidness(SPECTRAL);
  }

  int eventHandler(const Event* event) override {
    if (event->getType() != STEP_EVENT) return 0;
    ++steps;
    const Player* player = findSingle<Player>("Player");
    if (plays) play(player);
    if (player != nullptr && steps % 10 == 0)
      LogManager::getInstance().writeLog("Player at %g %g, height %d", player->getPosition().getX(),
                                         player->getPosition().getY(), height());
    if (steps >= 20000) GameManager::getInstance().setGameOver(true);
    return 1;
  }

 private:
  static void queue(KeyCode key, KeyAction action) {
    InputManager::getInstance().queueInput(InputEvent::keyboard(key, action));
  }

  static int height() {
    const ObjectList shown = WorldManager::getInstance().objectsOfType("ViewObject");
    for (ObjectListIterator it(&shown); !it.isDone(); it.next())
      if (const auto* points = dynamic_cast<const Points*>(it.currentObject()))
        return points->getValue();
    return 0;
  }

  void play(const Player* player) {
    const bool over = !WorldManager::getInstance().objectsOfType("GameOver").isEmpty();
    saw_game_over = saw_game_over || over;
    if (steps == 8) queue(KeyCode::SPACE, KeyAction::PRESSED);
    if (steps == 20) queue(KeyCode::P, KeyAction::PRESSED);
    if (saw_game_over && !over && !quit) {
      queue(KeyCode::Q, KeyAction::PRESSED);
      quit = true;
    }
    if (player != nullptr) climb(*player);
    if (steps % 50 == 0)
      InputManager::getInstance().queueInput(
          InputEvent::mouse(MouseAction::CLICKED, MouseButton::LEFT,
                            Vector(static_cast<float>(steps % 80) / 3.0f, 7.5f)));
  }

  void climb(const Player& player) {
    const Vector at = player.getPosition();
    const Object* next = nullptr;
    const ObjectList platforms = WorldManager::getInstance().objectsOfType("Platform");
    for (ObjectListIterator it(&platforms); !it.isDone(); it.next()) {
      const Vector there = it.currentObject()->getPosition();
      if (there.getY() < at.getY() - 1.0f &&
          (next == nullptr || there.getY() > next->getPosition().getY()))
        next = it.currentObject();
    }
    if (next == nullptr) return;
    const float dx = next->getPosition().getX() - at.getX();
    if (dx > 1.0f) queue(KeyCode::D, KeyAction::HELD);
    if (dx < -1.0f) queue(KeyCode::A, KeyAction::HELD);
    if (!player.isInAir() && dx > -6.0f && dx < 6.0f) queue(KeyCode::SPACE, KeyAction::PRESSED);
  }

  bool plays;
  int steps = 0;
  bool saw_game_over = false;
  bool quit = false;
};

class HeadlessReplay : public EngineTest {
 protected:
  // The program's flow with the scripted player, in a child process of its own (singletons and
  // the configuration start fresh); its exit status.
  int runGame(const std::string& name, const std::string& config, bool plays,
              const std::function<void()>& environment) {
    writeFile(name + ".cfg", config);
    const pid_t child = fork();
    if (child == 0) {
      setenv("TOLVEX_CONFIG", path(name + ".cfg").c_str(), 1);
      setenv("TOLVEX_LOG", path(name + ".log").c_str(), 1);
      environment();
      GameManager& game_manager = GameManager::getInstance();
      if (game_manager.startUp() != 0) _exit(2);
      LogManager::getInstance().setFlush(true);
      new ScriptedPlayer(plays);
      splash();
      loadResources();
      new GameStart();
      game_manager.run();
      game_manager.shutDown();
      _exit(0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  // The log's lines without their time, step numbers kept; the input manager's own lines and
  // the loop's lateness warnings (about the machine, not the game) left out.
  std::vector<std::string> gameLines(const std::string& name) const {
    std::vector<std::string> lines;
    std::istringstream in(readFile(path(name + ".log")));
    std::string line;
    while (std::getline(in, line)) {
      const std::string message = stripLogPrefix(line);
      if (message.rfind("InputManager::", 0) == 0 ||
          message.rfind("GameManager::run(): Can't keep up!", 0) == 0)
        continue;
      lines.push_back(line.substr(line.find(' ') + 1));
    }
    return lines;
  }

  static int count(const std::vector<std::string>& lines, const std::string& part) {
    int found = 0;
    for (const std::string& line : lines) found += line.find(part) != std::string::npos ? 1 : 0;
    return found;
  }
};

TEST_F(HeadlessReplay, ReplayAtFullSpeedPlaysTheRecordedGameStepForStep) {
  const std::string recording = path("game.rec");
  ASSERT_EQ(runGame("record", "headless:true,\nframe_time:0,\nrandom_seed:0,\n", true,
                    [&] { setenv("TOLVEX_RECORD", recording.c_str(), 1); }),
            0);
  // Another frame time and seed here: the recording's own must win.
  ASSERT_EQ(
      runGame("replay",
              "headless:true,\nframe_time:33,\nrandom_seed:5,\nreplay_speed:0,\nreplay_input:" +
                  recording + ",\n",
              false, [] { unsetenv("TOLVEX_RECORD"); }),
      0);

  const std::vector<std::string> recorded = gameLines("record");
  EXPECT_EQ(count(recorded, " Player Dead."), 1);
  EXPECT_GT(count(recorded, " Player at "), 10);
  EXPECT_EQ(gameLines("replay"), recorded);
  const std::string replay_log = readFile(path("replay.log"));
  EXPECT_NE(replay_log.find("Replaying input from"), std::string::npos);
  EXPECT_EQ(replay_log.find("Replay stopped"), std::string::npos);
}

}  // namespace
}  // namespace tx::test
