#include "Points.h"

#include <string>

#include "Difficulty.h"
#include "GameWorld.h"
#include "tolvex/core/Event.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/world/WorldManager.h"

namespace {

// The score counts from this many cells above the top of the first view (measured from the
// view's width, as the score always has been).
constexpr int HEIGHT_ORIGIN = -88;
constexpr int POINTS_PER_CELL = 5;

// Kept for the program's life, never written anywhere.
int& best() {
  static int height = 0;
  return height;
}

}  // namespace

int Points::eventHandler(const tx::Event* event) {
  if (ViewObject::eventHandler(event) == 1) return 1;
  if (event->getType() != tx::STEP_EVENT) return 0;
  const tx::Object* player = findSingle<tx::Object>("Player");
  if (player == nullptr) return 1;
  const float player_y = player->getPosition().getY();
  const float width = tx::WorldManager::getInstance().getBoundary().getHorizontal();
  const int height = POINTS_PER_CELL * (HEIGHT_ORIGIN - static_cast<int>(player_y - width));
  if (height > getValue()) {
    setValue(height);
    if (height > best()) best() = height;
    checkLevel(height);
  }
  return 1;
}

int bestHeight() { return best(); }

int drawBestHeight(tx::Vector position) {
  return tx::DisplayManager::getInstance().drawText(position, "Best: " + std::to_string(best()),
                                                    tx::ALIGN_CENTER, Points::COLOR);
}
