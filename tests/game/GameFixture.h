#pragma once

#include <cstdlib>

#include "Difficulty.h"
#include "GameStart.h"
#include "GameWorld.h"
#include "Player.h"
#include "TestSupport.h"
#include "loadResources.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/display/EventKeyboard.h"
#include "tolvex/display/InputManager.h"
#include "tolvex/display/ResourceManager.h"
#include "tolvex/platform/SystemClock.h"

namespace tx::test {

// A key event handed to the objects that want keys, as the input manager does.
inline void sendKey(KeyCode key, KeyAction action) {
  EventKeyboard event;
  event.setKey(key), event.setAction(action);
  InputManager::getInstance().onEvent(&event);
}

// Every manager started headless with the game's resources and title screen and, with started
// set, a game begun; step() is one iteration of the game loop, its sleep skipped.
class GameTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    setSleeper([](int) {});
    writeFile("tx-config.txt", "headless:true,\nrandom_seed:-1,\n");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    std::srand(2024);
    loadResources();
    title = new GameStart();
    if (!started) return;
    title->start();
    player = findSingle<Player>("Player");
    difficulty = findSingle<Difficulty>("Difficulty");
    ASSERT_TRUE(player && difficulty);
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    setSleeper({});
    EngineTest::TearDown();
  }
  static void step(int count = 1) {
    for (int i = 0; i < count; ++i) GameManager::getInstance().step();
  }
  static int countOfType(const std::string& type) {
    return WorldManager::getInstance().objectsOfType(type).getCount();
  }
  // The first object of the type that is a T (the game's displays share one type).
  template <class T>
  static T* first(const std::string& type) {
    ObjectList list = WorldManager::getInstance().objectsOfType(type);
    for (ObjectListIterator it(&list); !it.isDone(); it.next())
      if (auto* found = dynamic_cast<T*>(it.currentObject())) return found;
    return nullptr;
  }
  // Steps until the player stands again; false after 60 steps in the air.
  bool stepUntilStanding() {
    for (int i = 0; i < 60; ++i)
      if (step(), !player->isInAir()) return true;
    return false;
  }
  static Box boundary() { return WorldManager::getInstance().getBoundary(); }
  static bool playing(const std::string& sound) {
    return ResourceManager::getInstance().getSound(sound)->getSound()->getStatus() ==
           sf::SoundSource::Playing;
  }

  bool started = true;
  GameStart* title = nullptr;
  Player* player = nullptr;
  Difficulty* difficulty = nullptr;
};

}  // namespace tx::test
