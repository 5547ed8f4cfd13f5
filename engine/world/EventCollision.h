#pragma once

#include "tolvex/core/Event.h"
#include "tolvex/world/Vector.h"

namespace tx {

class Object;

// Sent by the world manager straight to both objects of a collision. Does not own them.
class EventCollision : public Event {
 public:
  EventCollision();
  // object1 is the moving object, object2 the one it met; position is where object1 was to go.
  EventCollision(Object* init_object1, Object* init_object2, Vector init_position);

  // The moving object. Valid during the delivery only: do not keep the pointer.
  Object* getObject1() const { return object1; }
  void setObject1(Object* new_object1) { object1 = new_object1; }
  // The object it met. Valid during the delivery only.
  Object* getObject2() const { return object2; }
  void setObject2(Object* new_object2) { object2 = new_object2; }
  // Where the moving object was to go, in world cells.
  Vector getPosition() const { return position; }
  void setPosition(Vector new_position) { position = new_position; }

 private:
  Vector position;
  Object* object1 = nullptr;
  Object* object2 = nullptr;
};

}  // namespace tx
