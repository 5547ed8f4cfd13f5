#include "tolvex/core/ObjectList.h"

#include <algorithm>
#include <climits>
#include <new>

namespace tx {

int ObjectList::insert(Object* object) {
  if (object == nullptr) return -1;
  // The count is an int, so the list stops growing where the count would overflow.
  if (items.size() >= static_cast<std::size_t>(INT_MAX)) return -1;
  try {
    items.push_back(object);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return 0;
}

int ObjectList::remove(Object* object) {
  const auto found = std::find(items.begin(), items.end(), object);
  if (found == items.end()) return -1;
  items.erase(found);
  return 0;
}

ObjectList ObjectList::operator+(const ObjectList& other) const {
  ObjectList sum(*this);
  for (Object* object : other.items) sum.insert(object);
  return sum;
}

}  // namespace tx
