#include "tolvex/core/SplashTolvex.h"

#include "tolvex/core/EventStep.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/SplashArt.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

SplashTolvex::SplashTolvex(Vector init_target) {
  sprite = makeSplashTolvexSprite();
  Animation rising;
  rising.setSprite(sprite.get());
  setAnimation(rising, true);
  setType("SplashTolvex");
  setSolidness(SPECTRAL);

  const Box view = WorldManager::getInstance().getView();
  setPosition(Vector(init_target.getX(), view.getCorner().getY() + view.getVertical() + 6.0f));
  target = init_target;
  setVelocity(Vector(0.0f, -(getPosition().getY() - target.getY()) / 30.0f));
  countdown = 30;
  registerInterest(STEP_EVENT);
  registerInterest(KEYBOARD_EVENT);
}

int SplashTolvex::eventHandler(const Event* event) {
  const int ended = endSplashOnKeyOrGameOver(this, event);
  if (ended != -1) return ended;
  if (event->getType() == STEP_EVENT) {
    countdown--;
    if (countdown < 1 && getPosition().getY() <= target.getY()) {
      setVelocity(Vector(0.0f, 0.0f));
    }
    if (countdown == -15) {
      // The new picture is in place before the old one goes, so the animation never points at
      // a deleted sprite.
      std::unique_ptr<Sprite> resting = makeSplashTolvexRestSprite();
      Animation at_rest;
      at_rest.setSprite(resting.get());
      setAnimation(at_rest, true);
      sprite = std::move(resting);
      setPosition(Vector(getPosition().getX() - 1.0f, getPosition().getY()));
    }
    if (countdown == -45) {
      GameManager::getInstance().setGameOver(true);
      WorldManager::getInstance().markForDelete(this);
    }
    return 1;
  }
  return 0;
}

}  // namespace tx
