#pragma once

namespace tx {

class Object;
class ObjectListIterator;

// A growable array of non-owning object pointers in insertion order. Duplicates are allowed,
// null is refused. Copies are deep (the array, never the objects).
class ObjectList {
 public:
  ObjectList();
  ObjectList(const ObjectList& other);
  ObjectList& operator=(const ObjectList& other);
  ~ObjectList();

  // Appends; doubles the capacity when full. Returns -1 for null or when growing fails.
  int insert(Object* object);
  // Removes the first occurrence, keeping the order of the rest. -1 when absent.
  int remove(Object* object);
  void clear();
  int getCount() const { return count; }
  bool isEmpty() const { return count == 0; }
  // A new list: this list's items followed by the other's.
  ObjectList operator+(const ObjectList& other) const;

 private:
  friend class ObjectListIterator;
  int count = 0;
  int capacity = 0;
  Object** items = nullptr;
};

}  // namespace tx
