#include "tolvex/world/SpatialGrid.h"

#include <algorithm>
#include <cmath>

namespace tx {

namespace {

// More buckets than this would cost more memory than a large world gains from them.
constexpr long long MAX_BUCKETS = 1 << 16;
// An object covering more buckets than this is cheaper to keep in the shared list.
constexpr long long MAX_SPAN = 32;
// Bucket coordinates stop here, far beyond any world, so that huge positions stay integers.
constexpr double FAR = 1e12;

long long bucketOf(float v, int size) {
  const double q = std::floor(static_cast<double>(v) / static_cast<double>(size));
  return static_cast<long long>(std::clamp(q, -FAR, FAR));
}

long long wrap(long long v, long long n) {
  const long long m = v % n;
  return m < 0 ? m + n : m;
}

// Buckets needed to tile extent cells, at least one.
long long bucketsFor(float extent, int size) {
  const double n = std::ceil(static_cast<double>(extent) / static_cast<double>(size));
  if (!(n >= 1.0)) return 1;
  return static_cast<long long>(std::min(n, static_cast<double>(MAX_BUCKETS)));
}

void eraseSlot(std::vector<int>& slots, int slot) {
  const auto found = std::find(slots.begin(), slots.end(), slot);
  if (found == slots.end()) return;
  *found = slots.back();
  slots.pop_back();
}

}  // namespace

void SpatialGrid::resize(int new_bucket_width, int new_bucket_height, float horizontal,
                         float vertical) {
  const int width = std::max(1, new_bucket_width);
  const int height = std::max(1, new_bucket_height);
  long long across = bucketsFor(horizontal, width);
  long long down = bucketsFor(vertical, height);
  while (across * down > MAX_BUCKETS) {
    if (across > down) {
      across /= 2;
    } else {
      down /= 2;
    }
  }
  if (width == bucket_width && height == bucket_height && across == columns && down == rows) {
    return;
  }
  bucket_width = width;
  bucket_height = height;
  columns = static_cast<int>(across);
  rows = static_cast<int>(down);
  buckets.assign(static_cast<std::size_t>(across * down), std::vector<int>());
  everywhere.clear();
  for (const auto& entry : slots) {
    const auto slot = static_cast<std::size_t>(entry.second);
    records[slot].span = spanOf(placed[slot].box);
    file(entry.second);
  }
}

void SpatialGrid::insert(Object* object, const Box& world_box) {
  if (object == nullptr || slots.count(object) > 0) return;
  int slot = static_cast<int>(records.size());
  if (free_slots.empty()) {
    records.emplace_back();
    placed.emplace_back();
  } else {
    slot = free_slots.back();
    free_slots.pop_back();
  }
  records[static_cast<std::size_t>(slot)] = Record{object, next_sequence++, spanOf(world_box)};
  placed[static_cast<std::size_t>(slot)].box = world_box;
  slots[object] = slot;
  file(slot);
}

void SpatialGrid::remove(const Object* object) {
  const auto found = slots.find(object);
  if (found == slots.end()) return;
  const int slot = found->second;
  unfile(slot);
  records[static_cast<std::size_t>(slot)].object = nullptr;
  free_slots.push_back(slot);
  slots.erase(found);
}

void SpatialGrid::move(const Object* object, const Box& world_box) {
  const auto found = slots.find(object);
  if (found == slots.end()) return;
  Record& record = records[static_cast<std::size_t>(found->second)];
  placed[static_cast<std::size_t>(found->second)].box = world_box;
  const Span span = spanOf(world_box);
  if (span == record.span) return;
  unfile(found->second);
  record.span = span;
  file(found->second);
}

void SpatialGrid::clear() {
  for (std::vector<int>& bucket : buckets) bucket.clear();
  everywhere.clear();
  records.clear();
  placed.clear();
  free_slots.clear();
  slots.clear();
}

void SpatialGrid::candidates(const Box& area, std::vector<Candidate>& out) const {
  ++query_count;
  const Span span = spanOf(area);
  // A query wider than the objects are many is quicker to answer from the records.
  if (span.everywhere || bucketCount(span) > static_cast<long long>(records.size())) {
    for (const auto& entry : slots) take(entry.second, area, out);
    return;
  }
  forEachBucket(span, [&](std::size_t bucket) {
    for (int slot : buckets[bucket]) take(slot, area, out);
  });
  for (int slot : everywhere) take(slot, area, out);
}

void SpatialGrid::take(int slot, const Box& area, std::vector<Candidate>& out) const {
  const Placed& place = placed[static_cast<std::size_t>(slot)];
  if (place.seen == query_count) return;
  place.seen = query_count;
  // The box as filed is the object's world box, and reading it here spares a visit to an
  // object that is nowhere near.
  if (!boxIntersectsBox(area, place.box)) return;
  const Record& record = records[static_cast<std::size_t>(slot)];
  out.push_back(Candidate{record.sequence, record.object});
}

SpatialGrid::Span SpatialGrid::spanOf(const Box& box) const {
  Span span;
  // The far edges as boxIntersectsBox computes them; a negative extent puts them first.
  const float x1 = box.getCorner().getX();
  const float x2 = x1 + box.getHorizontal();
  const float y1 = box.getCorner().getY();
  const float y2 = y1 + box.getVertical();
  if (!std::isfinite(x1) || !std::isfinite(x2) || !std::isfinite(y1) || !std::isfinite(y2)) {
    span.everywhere = true;
    return span;
  }
  span.c0 = bucketOf(std::min(x1, x2), bucket_width);
  span.c1 = bucketOf(std::max(x1, x2), bucket_width);
  span.r0 = bucketOf(std::min(y1, y2), bucket_height);
  span.r1 = bucketOf(std::max(y1, y2), bucket_height);
  return span;
}

template <typename Visit>
void SpatialGrid::forEachBucket(const Span& span, Visit visit) const {
  // Beyond one full turn the buckets repeat, so a wide span visits each once.
  const long long across = std::min<long long>(span.c1 - span.c0 + 1, columns);
  const long long down = std::min<long long>(span.r1 - span.r0 + 1, rows);
  const long long first_column = wrap(span.c0, columns);
  long long row = wrap(span.r0, rows);
  for (long long r = 0; r < down; ++r) {
    long long column = first_column;
    for (long long c = 0; c < across; ++c) {
      visit(static_cast<std::size_t>(row * columns + column));
      if (++column == columns) column = 0;
    }
    if (++row == rows) row = 0;
  }
}

long long SpatialGrid::bucketCount(const Span& span) const {
  const long long across = std::min<long long>(span.c1 - span.c0 + 1, columns);
  const long long down = std::min<long long>(span.r1 - span.r0 + 1, rows);
  return across * down;
}

bool SpatialGrid::isShared(const Span& span) const {
  return span.everywhere || bucketCount(span) > MAX_SPAN;
}

void SpatialGrid::file(int slot) {
  const Span& span = records[static_cast<std::size_t>(slot)].span;
  if (isShared(span)) {
    everywhere.push_back(slot);
    return;
  }
  forEachBucket(span, [&](std::size_t bucket) { buckets[bucket].push_back(slot); });
}

void SpatialGrid::unfile(int slot) {
  const Span& span = records[static_cast<std::size_t>(slot)].span;
  if (isShared(span)) {
    eraseSlot(everywhere, slot);
    return;
  }
  forEachBucket(span, [&](std::size_t bucket) { eraseSlot(buckets[bucket], slot); });
}

}  // namespace tx
