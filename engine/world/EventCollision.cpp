#include "tolvex/world/EventCollision.h"

namespace tx {

EventCollision::EventCollision() { setType(COLLISION_EVENT); }

EventCollision::EventCollision(Object* init_object1, Object* init_object2, Vector init_position)
    : position(init_position), object1(init_object1), object2(init_object2) {
  setType(COLLISION_EVENT);
}

}  // namespace tx
