#include "tolvex/core/SplashArt.h"

#include <initializer_list>
#include <memory>
#include <string>

#include "tolvex/core/Event.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/display/Frame.h"
#include "tolvex/display/Sprite.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

namespace {

using Rows = std::initializer_list<const char*>;

// One sprite from pictures given row by row; every row must be exactly width characters.
std::unique_ptr<Sprite> buildSprite(const std::string& label, int width, int height, Color color,
                                    int slowdown, std::initializer_list<Rows> pictures) {
  auto sprite = std::make_unique<Sprite>(static_cast<int>(pictures.size()));
  sprite->setLabel(label);
  sprite->setWidth(width);
  sprite->setHeight(height);
  sprite->setColor(color);
  sprite->setSlowdown(slowdown);
  // Blanks are see-through, so the figure can stand beside the name without blotting it out.
  sprite->setTransparency(' ');
  for (const Rows& rows : pictures) {
    std::string text;
    for (const char* row : rows) text += row;
    if (sprite->addFrame(Frame(width, height, text)) != 0) return nullptr;
  }
  return sprite;
}

}  // namespace

std::unique_ptr<Sprite> makeSplashSprite() {
  return buildSprite("splash", 47, 8, GREEN, 1,
                     {{R"(                                               )",
                       R"( _______          _                            )",
                       R"(|__   __|        | |                           )",
                       R"(   | |     ___   | | __   __   ___   __  __    )",
                       R"(   | |    / _ \  | | \ \ / /  / _ \  \ \/ /    )",
                       R"(   | |   | (_) | | |  \ V /  |  __/   >  <     )",
                       R"(   |_|    \___/  |_|   \_/    \___|  /_/\_\    )",
                       R"(                                               )"},
                      {R"(                                               )",
                       R"(   ______          __                          )",
                       R"(  /_  __/ ____    / / _   __  ___    _  __     )",
                       R"(   / /   / __ \  / / | | / / / _ \  | |/_/     )",
                       R"(  / /   / /_/ / / /  | |/ / /  __/ _>  <       )",
                       R"( /_/    \____/ /_/   |___/  \___/ /_/|_|       )",
                       R"(                                               )",
                       R"(   ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~    )"}});
}

std::unique_ptr<Sprite> makeSplashTolvexSprite() {
  return buildSprite("splash-tolvex", 11, 7, BLUE, 2,
                     {{R"(    ___    )", R"(   (o o)   )", R"( \_/###\_/ )", R"(    ###    )",
                       R"(    / \    )", R"(   /   \   )", R"(  #     #  )"},
                      {R"(    ___    )", R"(   (o o)   )", R"(   /###\   )", R"(  / ### \  )",
                       R"(    / \    )", R"(   |   |   )", R"(   #   #   )"}});
}

std::unique_ptr<Sprite> makeSplashTolvexRestSprite() {
  return buildSprite("splash-tolvex-rest", 9, 6, GREEN, 1,
                     {{R"(   ___   )", R"(  (^ ^)  )", R"( \_###_/ )", R"(   ###   )",
                       R"(   / \   )", R"(  _| |_  )"}});
}

int endSplashOnKeyOrGameOver(Object* splash_object, const Event* event) {
  GameManager& game_manager = GameManager::getInstance();
  if (game_manager.getGameOver()) {
    WorldManager::getInstance().markForDelete(splash_object);
    return 0;
  }
  if (event->getType() == KEYBOARD_EVENT) {
    game_manager.setGameOver(true);
    WorldManager::getInstance().markForDelete(splash_object);
    return 1;
  }
  return -1;
}

}  // namespace tx
