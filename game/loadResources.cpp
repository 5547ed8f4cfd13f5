#include "loadResources.h"

#include "tolvex/display/ResourceManager.h"

void loadResources() {
  tx::ResourceManager& rm = tx::ResourceManager::getInstance();
  rm.loadSprite("sprites/player.txt", "player");
  rm.loadSprite("sprites/playerjump.txt", "playerj");
  rm.loadSprite("sprites/floor.txt", "floor");
  rm.loadSprite("sprites/platform1.txt", "platform1");
  rm.loadSprite("sprites/platform2.txt", "platform2");
  rm.loadSprite("sprites/platform3.txt", "platform3");
  rm.loadSprite("sprites/platform4.txt", "platform4");
  rm.loadSprite("sprites/platform5.txt", "platform5");
  rm.loadSprite("sprites/gameover-spr.txt", "gameover");
  rm.loadSprite("sprites/gamestart-spr.txt", "gamestart");
  rm.loadSprite("sprites/background1.txt", "background1");
  rm.loadSprite("sprites/background2.txt", "background2");
  rm.loadSprite("sprites/background3.txt", "background3");
  rm.loadSprite("sprites/background4.txt", "background4");
  rm.loadSprite("sprites/background5.txt", "background5");
  rm.loadSprite("sprites/powerup1.txt", "powerup1");
  rm.loadSprite("sprites/powerup2.txt", "powerup2");
  rm.loadSprite("sprites/powerup3.txt", "powerup3");
  rm.loadSprite("sprites/powerup4.txt", "powerup4");
  rm.loadSound("sounds/jump.wav", "jump");
  rm.loadSound("sounds/fall.wav", "fall");
  rm.loadSound("sounds/startup.wav", "startup");
  rm.loadSound("sounds/powerdown.wav", "powerdown");
  rm.loadMusic("sounds/ingameMusic.wav", "game music");
  rm.loadMusic("sounds/menuMusic.wav", "menu music");
}
