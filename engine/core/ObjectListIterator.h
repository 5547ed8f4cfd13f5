#pragma once

#include "tolvex/core/ObjectList.h"

namespace tx {

// Walks a list by index, reading it live: changes to the list during a walk are seen.
// The list must outlive the iterator.
class ObjectListIterator {
 public:
  // Starts at the list's first item. The list is not owned.
  explicit ObjectListIterator(const ObjectList* init_list) : list(init_list) {}

  // Back to the first item.
  void first() { index = 0; }
  // Advances by one, never beyond the end.
  void next() {
    if (index < list->getCount()) ++index;
  }
  // True once the walk has passed the last item.
  bool isDone() const { return index >= list->getCount(); }
  // The current item, or null past the end.
  Object* currentObject() const {
    return index < list->getCount() ? list->items[static_cast<std::size_t>(index)] : nullptr;
  }

 private:
  const ObjectList* list;
  int index = 0;
};

}  // namespace tx
