#pragma once

#include <memory>

namespace tx {

class Event;
class Object;
class Sprite;

// The rule both splash objects follow before their own steps: once game over is set they leave
// (0), and any key ends the splash at once (1). -1 when the event is the object's to handle.
int endSplashOnKeyOrGameOver(Object* splash_object, const Event* event);

// The pictures of the splash screen, built in code, and the rule its objects share. Each
// picture call makes a new sprite for the caller; blanks are transparent. Null if the sprite
// cannot hold its frames.

// Label "splash": two 47 x 8 green frames spelling the engine's name in two lettering styles.
std::unique_ptr<Sprite> makeSplashSprite();
// Label "splash-tolvex": the rising figure, two 11 x 7 blue frames, slowdown 2.
std::unique_ptr<Sprite> makeSplashTolvexSprite();
// Label "splash-tolvex-rest": the figure at rest, one 9 x 6 green frame.
std::unique_ptr<Sprite> makeSplashTolvexRestSprite();

}  // namespace tx
