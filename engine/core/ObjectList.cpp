#include "core/ObjectList.h"

#include <climits>
#include <new>

namespace tx {

namespace {

// A new array of n places, or null when it cannot be allocated.
Object** allocateItems(int n) { return n > 0 ? new (std::nothrow) Object*[n] : nullptr; }

}  // namespace

ObjectList::ObjectList() : items(allocateItems(1)) { capacity = items != nullptr ? 1 : 0; }

ObjectList::ObjectList(const ObjectList& other) : items(allocateItems(other.capacity)) {
  if (items == nullptr) return;
  capacity = other.capacity;
  count = other.count;
  for (int i = 0; i < count; ++i) items[i] = other.items[i];
}

ObjectList& ObjectList::operator=(const ObjectList& other) {
  if (this == &other) return *this;
  Object** copy = allocateItems(other.capacity);
  delete[] items;
  items = copy;
  capacity = copy != nullptr ? other.capacity : 0;
  count = copy != nullptr ? other.count : 0;
  for (int i = 0; i < count; ++i) items[i] = other.items[i];
  return *this;
}

ObjectList::~ObjectList() { delete[] items; }

int ObjectList::insert(Object* object) {
  if (object == nullptr) return -1;
  if (count == capacity) {
    // A list whose first allocation failed has no places to double.
    if (capacity > INT_MAX / 2) return -1;
    const int new_capacity = capacity > 0 ? capacity * 2 : 1;
    Object** grown = allocateItems(new_capacity);
    if (grown == nullptr) return -1;
    for (int i = 0; i < count; ++i) grown[i] = items[i];
    delete[] items;
    items = grown;
    capacity = new_capacity;
  }
  items[count++] = object;
  return 0;
}

int ObjectList::remove(Object* object) {
  for (int i = 0; i < count; ++i) {
    if (items[i] == object) {
      for (int j = i + 1; j < count; ++j) items[j - 1] = items[j];
      --count;
      return 0;
    }
  }
  return -1;
}

void ObjectList::clear() { count = 0; }

ObjectList ObjectList::operator+(const ObjectList& other) const {
  ObjectList sum(*this);
  for (int i = 0; i < other.count; ++i) sum.insert(other.items[i]);
  return sum;
}

}  // namespace tx
