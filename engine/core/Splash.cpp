#include "tolvex/core/Splash.h"

#include "tolvex/core/EventStep.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/SplashArt.h"
#include "tolvex/core/SplashTolvex.h"
#include "tolvex/world/WorldManager.h"

namespace tx {

Splash::Splash() {
  sprite = makeSplashSprite();
  Animation frozen;
  frozen.setSprite(sprite.get());
  frozen.setIndex(0);
  frozen.setSlowdownCount(-1);
  setAnimation(frozen, true);
  setType("Splash");
  setSolidness(SPECTRAL);

  const Box view = WorldManager::getInstance().getView();
  const float half_width = getBox().getHorizontal() * 0.5f;
  setPosition(Vector(view.getCorner().getX() + view.getHorizontal() + half_width,
                     view.getCorner().getY() + view.getVertical() * 0.5f));
  // Arrives 11 cells left of the view's centre after half a second's worth of steps (whatever
  // the frame time, at least one step so a tiny frame time cannot divide by zero). The game
  // manager's frame time is the configured one, or a replayed recording's.
  int half_frame_time = GameManager::getInstance().getFrameTime() / 2;
  if (half_frame_time < 1) half_frame_time = 1;
  setVelocity(Vector(
      -(view.getHorizontal() * 0.5f + half_width + 11.0f) / static_cast<float>(half_frame_time),
      0.0f));
  countdown = 15;
  registerInterest(KEYBOARD_EVENT);
  registerInterest(STEP_EVENT);
}

int Splash::eventHandler(const Event* event) {
  const int ended = endSplashOnKeyOrGameOver(this, event);
  if (ended != -1) return ended;
  if (event->getType() == STEP_EVENT) {
    countdown--;
    if (countdown == 0) {
      Animation stopped = getAnimation();
      stopped.setIndex(1);
      setAnimation(stopped);
      setVelocity(Vector(0.0f, 0.0f));
      const Vector here = getPosition();
      new SplashTolvex(Vector(here.getX() + 24.0f, here.getY() + 1.0f));
    }
    if (countdown == -75) WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  return 0;
}

}  // namespace tx
