#pragma once

#include <unordered_map>
#include <vector>

#include "tolvex/world/Box.h"

namespace tx {

class Object;

// Buckets of a fixed size in world cells, each holding the objects whose world box touches it,
// so that "what is here" looks at a few buckets instead of every object. The buckets tile the
// world's extent and repeat beyond it: an object at any position, however far out, huge or
// negative, has buckets, and far-apart objects may share one, which costs time but never a
// result. Objects spanning many buckets, or whose box is not finite, sit in one list that
// every query looks at. Holds non-owning pointers and the world box each object was filed
// under, which its owner keeps current. Filing and queries allocate nothing once the buckets
// have grown.
class SpatialGrid {
 public:
  // A filed object and its place in the order of insertion.
  struct Candidate {
    // Higher for objects filed later; sorting by it gives the order of insertion.
    long long sequence;
    // The object, not owned.
    Object* object;
  };

  // Buckets of bucket_width x bucket_height cells (both at least 1), enough of them to tile an
  // extent of horizontal x vertical cells, within a fixed cap. Refiles every object.
  void resize(int bucket_width, int bucket_height, float horizontal, float vertical);
  // Files the object under its world box, after every object filed before it. An object already
  // filed keeps its place.
  void insert(Object* object, const Box& world_box);
  // Forgets the object; nothing happens for one not filed.
  void remove(const Object* object);
  // Refiles the object under its new world box; nothing happens for one not filed.
  void move(const Object* object, const Box& world_box);
  // Forgets every object.
  void clear();
  // Appends to out every filed object whose world box, as filed, meets area, each once, in no
  // particular order.
  void candidates(const Box& area, std::vector<Candidate>& out) const;
  // Number of objects filed.
  int getCount() const { return static_cast<int>(slots.size()); }

 private:
  // Buckets an object covers, as unwrapped bucket coordinates; everywhere for the shared list.
  struct Span {
    long long c0 = 0;
    long long c1 = 0;
    long long r0 = 0;
    long long r1 = 0;
    bool everywhere = false;
    bool operator==(const Span& other) const {
      return c0 == other.c0 && c1 == other.c1 && r0 == other.r0 && r1 == other.r1 &&
             everywhere == other.everywhere;
    }
  };
  // A filed object; null in a free slot.
  struct Record {
    Object* object = nullptr;
    long long sequence = 0;
    Span span;
  };
  // What a query reads of every object it meets, kept apart from the records to stay compact.
  struct Placed {
    // The world box it was filed under.
    Box box;
    // The query that last looked at it, so that one spanning several buckets comes once.
    mutable unsigned long long seen = 0;
  };

  Span spanOf(const Box& box) const;
  // Distinct buckets the span covers.
  long long bucketCount(const Span& span) const;
  // Whether an object of this span sits in the shared list instead of buckets.
  bool isShared(const Span& span) const;
  // Calls visit(bucket index) for each bucket of the span, each once.
  template <typename Visit>
  void forEachBucket(const Span& span, Visit visit) const;
  void file(int slot);
  void unfile(int slot);
  void take(int slot, const Box& area, std::vector<Candidate>& out) const;

  int bucket_width = 1;
  int bucket_height = 1;
  int columns = 1;
  int rows = 1;
  // rows x columns buckets of record slots, row-major.
  std::vector<std::vector<int>> buckets = std::vector<std::vector<int>>(1);
  // Slots of the objects every query looks at.
  std::vector<int> everywhere;
  // Both by slot.
  std::vector<Record> records;
  std::vector<Placed> placed;
  std::vector<int> free_slots;
  std::unordered_map<const Object*, int> slots;
  long long next_sequence = 0;
  mutable unsigned long long query_count = 0;
};

}  // namespace tx
