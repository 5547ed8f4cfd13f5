#pragma once

#include <vector>

namespace tx {

class Object;
class ObjectListIterator;

// A growable list of non-owning object pointers in insertion order. Duplicates are allowed,
// null is refused. Copies hold the same pointers, never copies of the objects.
class ObjectList {
 public:
  // Appends. Returns -1 for null, or when the list cannot grow (it is then unchanged).
  int insert(Object* object);
  // Removes the first occurrence, keeping the order of the rest. -1 when absent.
  int remove(Object* object);
  // Empties the list; the objects are untouched.
  void clear() { items.clear(); }
  // Number of entries, duplicates counted.
  int getCount() const { return static_cast<int>(items.size()); }
  // True when the list has no entries.
  bool isEmpty() const { return items.empty(); }
  // A new list: this list's items followed by the other's.
  ObjectList operator+(const ObjectList& other) const;

 private:
  friend class ObjectListIterator;
  std::vector<Object*> items;
};

}  // namespace tx
