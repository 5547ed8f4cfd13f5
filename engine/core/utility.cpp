#include "tolvex/core/utility.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <new>
#include <sstream>
#include <vector>

#include "tolvex/core/LogManager.h"

namespace tx {

namespace {

// The entries of the most recent parse, kept for lookups with an empty text. values have the
// white space removed; raw_values keep the value as written.
struct MatchCache {
  std::vector<std::string> keys;
  std::vector<std::string> values;
  std::vector<std::string> raw_values;
  int count = 0;
};

MatchCache& matchCache() {
  static MatchCache cache;
  return cache;
}

std::string removeSpace(const std::string& text) {
  std::string compact;
  compact.reserve(text.size());
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) compact.push_back(c);
  return compact;
}

// Splits text at sep, skipping pieces that are empty once white space is removed.
std::vector<std::string> splitSkippingBlank(const std::string& text, char sep) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(sep, start);
    if (end == std::string::npos) end = text.size();
    std::string piece = text.substr(start, end - start);
    if (!isBlank(piece)) pieces.push_back(std::move(piece));
    start = end + 1;
  }
  return pieces;
}

// Empties the cache and makes room for one entry per comma-separated piece of text. False (the
// cache left empty) when the entry arrays cannot be allocated.
bool allocateEntries(const std::string& text) {
  const LogManager& log_manager = LogManager::getInstance();
  MatchCache& cache = matchCache();
  cache = MatchCache();
  const int allocated = 1 + static_cast<int>(std::count(text.begin(), text.end(), ','));
  log_manager.writeLog(25, "match(): number of elements allocated is %d", allocated);
  try {
    cache.keys.resize(static_cast<std::size_t>(allocated));
  } catch (const std::bad_alloc&) {
    log_manager.writeLog("match(): unable to allocate key array!");
    return false;
  }
  try {
    cache.values.resize(static_cast<std::size_t>(allocated));
    cache.raw_values.resize(static_cast<std::size_t>(allocated));
  } catch (const std::bad_alloc&) {
    log_manager.writeLog("match(): unable to allocate val array!");
    cache = MatchCache();
    return false;
  }
  return true;
}

// Replaces the cache with the entries of text. White space never decides anything: keys and
// values are compared and kept without it, raw values as written. Returns false (cache
// emptied) when the entry arrays cannot be allocated.
bool parseEntries(const std::string& text) {
  const LogManager& log_manager = LogManager::getInstance();
  if (!allocateEntries(text)) return false;
  MatchCache& cache = matchCache();
  for (const std::string& piece : splitSkippingBlank(text, ',')) {
    const std::string compact_piece = removeSpace(piece);
    log_manager.writeLog(25, "\titem number %d", cache.count);
    log_manager.writeLog(28, "\tp_element is '%s' (%p)", compact_piece.c_str(),
                         static_cast<const void*>(compact_piece.c_str()));
    const std::vector<std::string> parts = splitSkippingBlank(piece, ':');
    // A piece made of colons only holds no entry; the entries after it still count.
    if (parts.empty()) continue;
    const std::size_t i = static_cast<std::size_t>(cache.count);
    cache.keys[i] = removeSpace(parts[0]);
    log_manager.writeLog(28, "\ttoken is '%s' (%p)", cache.keys[i].c_str(),
                         static_cast<const void*>(cache.keys[i].c_str()));
    log_manager.writeLog(25, "\tkey %s", cache.keys[i].c_str());
    cache.raw_values[i] = parts.size() > 1 ? parts[1] : std::string();
    cache.values[i] = removeSpace(cache.raw_values[i]);
    log_manager.writeLog(25, "\tval %s", cache.values[i].c_str());
    ++cache.count;
  }
  log_manager.writeLog(25, "match(): parsed.");
  for (int i = 0; i < cache.count; ++i)
    log_manager.writeLog(28, "\t%d  %s : %s", i, cache.keys[i].c_str(), cache.values[i].c_str());
  return true;
}

// Parses text unless it is empty, then the index of key's first entry, or -1.
int findEntry(const std::string& text, const std::string& key) {
  const LogManager& log_manager = LogManager::getInstance();
  log_manager.writeLog(25, "match(\"%s\", \"%s\")", text.c_str(), key.c_str());
  if (!text.empty() && !parseEntries(text)) return -1;
  const MatchCache& cache = matchCache();
  log_manager.writeLog(25, "match(): Looking for match '%s' among %d items.", key.c_str(),
                       cache.count);
  for (int i = 0; i < cache.count; ++i) {
    log_manager.writeLog(28, "match(): %d: %s == %s?", i, cache.keys[i].c_str(), key.c_str());
    if (cache.keys[i] == key) return i;
  }
  return -1;
}

}  // namespace

std::string match(std::string text, std::string key) {
  const int i = findEntry(text, key);
  return i == -1 ? std::string() : matchCache().values[static_cast<std::size_t>(i)];
}

std::optional<std::string> matchKeepingSpace(std::string text, std::string key) {
  const int i = findEntry(text, key);
  if (i == -1) return std::nullopt;
  return matchCache().raw_values[static_cast<std::size_t>(i)];
}

bool isBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

std::string toString(int value) { return std::to_string(value); }

std::string toString(float value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

std::string toString(bool value) { return value ? "true" : "false"; }

bool valueInRange(float value, float min, float max) { return min <= value && value <= max; }

int readInt(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
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
