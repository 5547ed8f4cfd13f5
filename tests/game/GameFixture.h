#pragma once

#include <cstdlib>
#include <string>

#include "GameStart.h"
#include "TestSupport.h"
#include "core/EventStep.h"
#include "core/GameManager.h"
#include "core/LogManager.h"
#include "core/ObjectListIterator.h"
#include "display/EventKeyboard.h"
#include "display/InputManager.h"
#include "loadResources.h"
#include "world/WorldManager.h"

namespace tx::test {

// Starts every manager headless with the game's resources loaded, and runs the world for real:
// step() sends a step event to every object registered for it and then runs the world's update
// pass, as one iteration of the game loop does (drawing and input aside).
class GameTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    writeFile("tx-config.txt", "headless:true,\nrandom_seed:-1,\n");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    std::srand(2024);
    loadResources();
  }

  void TearDown() override {
    GameManager::getInstance().shutDown();
    EngineTest::TearDown();
  }

  void step(int count = 1) {
    for (int i = 0; i < count; ++i) {
      const EventStep event(step_count++);
      GameManager::getInstance().onEvent(&event);
      WorldManager::getInstance().update();
    }
  }

  static void sendKey(KeyCode key, KeyAction action) {
    EventKeyboard event;
    event.setKey(key);
    event.setAction(action);
    InputManager::getInstance().onEvent(&event);
  }

  static int countOfType(const std::string& type) {
    return WorldManager::getInstance().objectsOfType(type).getCount();
  }

  // The first active object of the type, cast to T; null when there is none.
  template <class T>
  static T* first(const std::string& type) {
    ObjectList list = WorldManager::getInstance().objectsOfType(type);
    ObjectListIterator it(&list);
    return it.isDone() ? nullptr : dynamic_cast<T*>(it.currentObject());
  }

  // The title screen, with a game started from it.
  GameStart* startGame() {
    GameStart* title = new GameStart();
    title->start();
    return title;
  }

  static Box boundary() { return WorldManager::getInstance().getBoundary(); }

  int step_count = 0;
};

}  // namespace tx::test
