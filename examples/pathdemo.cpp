// A walker '@' finds its way round walls to each goal 'X' in turn, following the path the path
// manager finds while the game loop runs. Ends after about eight seconds or when the window is
// closed.
#include <vector>

#include "tolvex/core/EventStep.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/path/EventPath.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

namespace {

using tx::Vector;

// An object drawn as one coloured character.
class Glyph : public tx::Object {
 public:
  Glyph(Vector at, char init_ch, tx::Color init_color) : ch(init_ch), color(init_color) {
    setPosition(at);
  }
  int draw() override {
    return tx::DisplayManager::getInstance().drawCharacter(getPosition(), ch, color);
  }

 private:
  char ch;
  tx::Color color;
};

class Walker : public Glyph {
 public:
  Walker(Vector at, std::vector<Vector> init_goals)
      : Glyph(at, '@', tx::YELLOW), goals(std::move(init_goals)) {
    setType("Walker");
    setSpeed(1.0f);
    registerInterest(tx::STEP_EVENT);
    marker = new Glyph(goals[0], 'X', tx::GREEN);
    marker->setSolidness(tx::SPECTRAL);
    findPath(goals[0]);
  }

  int eventHandler(const tx::Event* event) override {
    if (event->getType() == tx::STEP_EVENT) {
      const int step = static_cast<const tx::EventStep*>(event)->getStepCount();
      // Eight seconds at the default 33 ms frame.
      if (step >= 240) tx::GameManager::getInstance().setGameOver();
      if (!getFollowPath() && getPathFind() == nullptr && getPosition() == goals[current]) {
        tx::LogManager::getInstance().writeLog("pathdemo: reached (%.0f,%.0f) at step %d",
                                               goals[current].getX(), goals[current].getY(), step);
        current = (current + 1) % static_cast<int>(goals.size());
        marker->setPosition(goals[current]);
        findPath(goals[current]);
      }
      return 1;
    }
    if (const auto* path_event = dynamic_cast<const tx::EventPath*>(event)) {
      if (path_event->getStatus() == 0) {
        tx::LogManager::getInstance().writeLog("pathdemo: no way to (%.0f,%.0f)",
                                               goals[current].getX(), goals[current].getY());
      }
    }
    return Object::eventHandler(event);
  }

 private:
  std::vector<Vector> goals;
  int current = 0;
  Glyph* marker = nullptr;
};

void wall(int x, int y) {
  new Glyph(Vector(static_cast<float>(x), static_cast<float>(y)), '#', tx::BLUE);
}

}  // namespace

int main() {
  tx::GameManager& game = tx::GameManager::getInstance();
  if (game.startUp() != 0) {
    tx::LogManager::getInstance().writeLog("pathdemo: Error! could not start the engine.");
    game.shutDown();
    return 1;
  }
  const tx::Box world = tx::WorldManager::getInstance().getBoundary();
  const int w = static_cast<int>(world.getHorizontal());
  const int h = static_cast<int>(world.getVertical());
  // Three walls with gaps at alternate ends, and a box round the middle goal with one door.
  for (int y = 0; y < h - 4; ++y) wall(w / 4, y);
  for (int y = 4; y < h; ++y) wall(w / 2, y);
  for (int y = 0; y < h - 4; ++y) wall(3 * w / 4, y);
  for (int x = w / 2 + 5; x <= w / 2 + 13; ++x) {
    wall(x, h / 2 - 3);
    wall(x, h / 2 + 3);
  }
  for (int y = h / 2 - 2; y <= h / 2 + 2; ++y) {
    if (y != h / 2) wall(w / 2 + 13, y);
    wall(w / 2 + 5, y);
  }
  std::vector<Vector> goals{Vector(static_cast<float>(w - 4), static_cast<float>(h / 2)),
                            Vector(static_cast<float>(w / 2 + 9), static_cast<float>(h / 2)),
                            Vector(3.0f, 3.0f)};
  new Walker(Vector(3.0f, static_cast<float>(h - 3)), goals);
  game.run();
  game.shutDown();
  return 0;
}
