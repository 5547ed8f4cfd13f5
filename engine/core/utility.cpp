#include "tolvex/core/utility.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string_view>
#include <vector>

#include "tolvex/core/LogManager.h"

namespace tx {

namespace {

// The entries of the most recent parse, kept for lookups with an empty text, in little more room
// than the text itself: store holds each entry's key without white space followed by its value
// as written, entry after entry; an entry holds where its key and its value begin in store, and
// its value ends where the next entry's key begins. Offsets are 32 bits.
struct MatchCache {
  struct Entry {
    std::uint32_t key_begin;
    std::uint32_t value_begin;
  };
  std::string store;
  std::vector<Entry> entries;

  int count() const { return static_cast<int>(entries.size()); }
  std::string_view key(std::size_t i) const {
    return std::string_view(store).substr(entries[i].key_begin,
                                          entries[i].value_begin - entries[i].key_begin);
  }
  std::string_view rawValue(std::size_t i) const {
    const std::size_t end = i + 1 < entries.size() ? entries[i + 1].key_begin : store.size();
    return std::string_view(store).substr(entries[i].value_begin, end - entries[i].value_begin);
  }
};

MatchCache& matchCache() {
  static MatchCache cache;
  return cache;
}

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool isBlankView(std::string_view text) { return std::all_of(text.begin(), text.end(), isSpace); }

std::string removeSpace(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (char c : text)
    if (!isSpace(c)) compact.push_back(c);
  return compact;
}

std::size_t spaceFreeLength(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return !isSpace(c); }));
}

// Calls visit(piece, key, value) for each entry of text, in order: a comma-separated piece that
// is not blank, split at colons with blank parts skipped; key is the first part, value the second
// as written ("" when there is none) and later parts are dropped. A piece of colons only holds no
// entry; the entries after it still count. Views into text, white space kept; no allocation.
template <typename Visit>
void forEachEntry(std::string_view text, Visit visit) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string_view piece = text.substr(start, comma - start);
    start = comma + 1;
    std::string_view parts[2];
    std::size_t found = 0;
    std::size_t from = 0;
    while (from <= piece.size() && found < 2) {
      const std::size_t colon = std::min(piece.find(':', from), piece.size());
      const std::string_view part = piece.substr(from, colon - from);
      if (!isBlankView(part)) parts[found++] = part;
      from = colon + 1;
    }
    if (found > 0) visit(piece, parts[0], parts[1]);
  }
}

// Trace lines cost nothing unless someone reads them.
bool tracing(int level) { return LogManager::getInstance().getLogLevel() >= level; }

void traceEntry(int item, std::string_view piece, const std::string& key, std::string_view value) {
  const LogManager& log_manager = LogManager::getInstance();
  const std::string compact_piece = removeSpace(piece);
  log_manager.writeLog(25, "\titem number %d", item);
  log_manager.writeLog(28, "\tp_element is '%s' (%p)", compact_piece.c_str(),
                       static_cast<const void*>(compact_piece.c_str()));
  log_manager.writeLog(28, "\ttoken is '%s' (%p)", key.c_str(),
                       static_cast<const void*>(key.c_str()));
  log_manager.writeLog(25, "\tkey %s", key.c_str());
  log_manager.writeLog(25, "\tval %s", removeSpace(value).c_str());
}

// Empties the cache and makes exactly the room the entries of text need. False (the cache left
// empty) when that room cannot be had.
bool allocateEntries(std::string_view text) {
  const LogManager& log_manager = LogManager::getInstance();
  MatchCache& cache = matchCache();
  cache = MatchCache();
  std::size_t count = 0;
  std::size_t stored = 0;
  forEachEntry(text, [&](std::string_view, std::string_view key, std::string_view value) {
    ++count;
    stored += spaceFreeLength(key) + value.size();
  });
  log_manager.writeLog(25, "match(): number of elements allocated is %zu", count);
  // The offsets are 32 bits; a text beyond them cannot be indexed.
  if (stored > UINT32_MAX) {
    log_manager.writeLog("match(): unable to allocate key array!");
    return false;
  }
  try {
    cache.entries.reserve(count);
  } catch (const std::bad_alloc&) {
    log_manager.writeLog("match(): unable to allocate key array!");
    return false;
  }
  try {
    cache.store.reserve(stored);
  } catch (const std::bad_alloc&) {
    log_manager.writeLog("match(): unable to allocate val array!");
    cache = MatchCache();
    return false;
  }
  return true;
}

// Replaces the cache with the entries of text. White space never decides anything: keys are
// compared without it and values returned without it, or as written by matchKeepingSpace.
// Returns false (cache emptied) when the entries cannot be kept.
bool parseEntries(std::string_view text) {
  if (!allocateEntries(text)) return false;
  MatchCache& cache = matchCache();
  forEachEntry(text, [&](std::string_view piece, std::string_view key, std::string_view value) {
    const auto key_begin = static_cast<std::uint32_t>(cache.store.size());
    for (char c : key)
      if (!isSpace(c)) cache.store.push_back(c);
    const auto value_begin = static_cast<std::uint32_t>(cache.store.size());
    cache.store.append(value);
    cache.entries.push_back({key_begin, value_begin});
    if (tracing(25))
      traceEntry(cache.count() - 1, piece, std::string(cache.key(cache.entries.size() - 1)), value);
  });
  const LogManager& log_manager = LogManager::getInstance();
  log_manager.writeLog(25, "match(): parsed.");
  if (tracing(28)) {
    for (std::size_t i = 0; i < cache.entries.size(); ++i)
      log_manager.writeLog(28, "\t%zu  %s : %s", i, std::string(cache.key(i)).c_str(),
                           removeSpace(cache.rawValue(i)).c_str());
  }
  return true;
}

// Parses text unless it is empty, then the index of key's first entry, or -1.
int findEntry(const std::string& text, const std::string& key) {
  const LogManager& log_manager = LogManager::getInstance();
  log_manager.writeLog(25, "match(\"%s\", \"%s\")", text.c_str(), key.c_str());
  if (!text.empty() && !parseEntries(text)) return -1;
  const MatchCache& cache = matchCache();
  log_manager.writeLog(25, "match(): Looking for match '%s' among %d items.", key.c_str(),
                       cache.count());
  for (std::size_t i = 0; i < cache.entries.size(); ++i) {
    if (tracing(28))
      log_manager.writeLog(28, "match(): %zu: %s == %s?", i, std::string(cache.key(i)).c_str(),
                           key.c_str());
    if (cache.key(i) == key) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

std::string match(std::string text, std::string key) {
  const int i = findEntry(text, key);
  return i == -1 ? std::string() : removeSpace(matchCache().rawValue(static_cast<std::size_t>(i)));
}

std::optional<std::string> matchKeepingSpace(std::string text, std::string key) {
  const int i = findEntry(text, key);
  if (i == -1) return std::nullopt;
  return std::string(matchCache().rawValue(static_cast<std::size_t>(i)));
}

bool isBlank(const std::string& text) { return isBlankView(text); }

std::string toString(int value) { return std::to_string(value); }

std::string toString(float value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

std::string toString(bool value) { return value ? "true" : "false"; }

bool valueInRange(float value, float min, float max) { return min <= value && value <= max; }

int readInt(const std::string& text, std::size_t* used) {
  const char* start = text.c_str();
  char* end = nullptr;
  const long long value = std::strtoll(start, &end, 10);
  if (used != nullptr) *used = static_cast<std::size_t>(end - start);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

float readFloat(const std::string& text, std::size_t* used) {
  const char* start = text.c_str();
  char* end = nullptr;
  const float value = std::strtof(start, &end);
  const bool finite = std::isfinite(value);
  if (used != nullptr) *used = finite ? static_cast<std::size_t>(end - start) : 0;
  return finite ? value : 0.0f;
}

}  // namespace tx
