// Balls bounce around a walled box: solid objects with sprites built in code, moved by the world
// manager, turning round when a collision event reaches them. Ends after about ten seconds or
// when the window is closed.
#include <cstdlib>
#include <memory>
#include <vector>

#include "tolvex/tolvex.h"

namespace {

using tx::Vector;

std::unique_ptr<tx::Sprite> makeSprite(const char* label, int width, int height, tx::Color color,
                                       std::vector<std::string> frames, int slowdown) {
  auto sprite = std::make_unique<tx::Sprite>(static_cast<int>(frames.size()));
  sprite->setLabel(label);
  sprite->setWidth(width);
  sprite->setHeight(height);
  sprite->setColor(color);
  sprite->setSlowdown(slowdown);
  sprite->setTransparency(' ');
  for (std::string& text : frames) sprite->addFrame(tx::Frame(width, height, std::move(text)));
  return sprite;
}

class Wall : public tx::Object {
 public:
  Wall(Vector at, tx::Sprite* sprite) {
    setType("Wall");
    setPosition(at);
    tx::Animation look;
    look.setSprite(sprite);
    setAnimation(look, true);
  }
};

class Ball : public tx::Object {
 public:
  Ball(Vector at, Vector velocity, tx::Sprite* sprite) {
    setType("Ball");
    setPosition(at);
    setVelocity(velocity);
    tx::Animation look;
    look.setSprite(sprite);
    setAnimation(look, true);
    registerInterest(tx::STEP_EVENT);
  }

  int eventHandler(const tx::Event* event) override {
    if (event->getType() == tx::COLLISION_EVENT) {
      const auto* collision = static_cast<const tx::EventCollision*>(event);
      tx::Object* other =
          collision->getObject1() == this ? collision->getObject2() : collision->getObject1();
      // Bounce off the side we hit: reverse the component pointing into the other object.
      const Vector normal = tx::getNormal(this, other);
      Vector velocity = getVelocity();
      if (normal.getX() != 0.0f) velocity.setX(-velocity.getX());
      if (normal.getY() != 0.0f) velocity.setY(-velocity.getY());
      if (normal == Vector()) velocity.scale(-1.0f);
      setVelocity(velocity);
      return 1;
    }
    if (event->getType() == tx::STEP_EVENT) {
      // Ten seconds at the default 33 ms frame.
      if (static_cast<const tx::EventStep*>(event)->getStepCount() >= 300)
        tx::GameManager::getInstance().setGameOver();
      return 1;
    }
    return 0;
  }
};

}  // namespace

int main() {
  tx::GameManager& game = tx::GameManager::getInstance();
  if (game.startUp() != 0) {
    tx::LogManager::getInstance().writeLog("Error starting game manager!");
    game.shutDown();
    return 0;
  }
  tx::LogManager::getInstance().setFlush(true);

  auto brick = makeSprite("brick", 1, 1, tx::BLUE, {"#"}, 1);
  auto ball = makeSprite("ball", 3, 1, tx::YELLOW, {"(o)", "(O)"}, 4);
  auto rock = makeSprite("rock", 2, 2, tx::RED, {"/\\\\/"}, 1);

  const int width = tx::DisplayManager::getInstance().getHorizontalCells();
  const int height = tx::DisplayManager::getInstance().getVerticalCells();
  for (int x = 0; x < width; ++x) {
    new Wall(Vector(static_cast<float>(x), 0.0f), brick.get());
    new Wall(Vector(static_cast<float>(x), height - 1.0f), brick.get());
  }
  for (int y = 1; y < height - 1; ++y) {
    new Wall(Vector(0.0f, static_cast<float>(y)), brick.get());
    new Wall(Vector(width - 1.0f, static_cast<float>(y)), brick.get());
  }
  new Wall(Vector(width * 0.5f, height * 0.5f), rock.get());
  std::srand(7);
  for (int i = 0; i < 8; ++i) {
    const Vector at(8.0f + 8.0f * i, 4.0f + 2.0f * (i % 4));
    const Vector velocity((i % 2 ? 0.4f : -0.3f), (i % 3 ? 0.25f : -0.2f));
    new Ball(at, velocity, ball.get());
  }

  game.run();
  // The world deletes the objects; the sprites must outlive them.
  game.shutDown();
  return 0;
}
