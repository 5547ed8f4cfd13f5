#include "core/utility.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <new>
#include <sstream>
#include <vector>

#include "core/LogManager.h"

namespace tx {

namespace {

// The entries of the most recent parse, kept for lookups with an empty text.
struct MatchCache {
  std::vector<std::string> keys;
  std::vector<std::string> values;
  int count = 0;
};

MatchCache& matchCache() {
  static MatchCache cache;
  return cache;
}

// Splits text at sep, skipping empty pieces.
std::vector<std::string> splitSkippingEmpty(const std::string& text, char sep) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(sep, start);
    if (end == std::string::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

// Replaces the cache with the entries of text. Returns false (cache emptied) when the entry
// arrays cannot be allocated.
bool parseEntries(const std::string& text) {
  const LogManager& log_manager = LogManager::getInstance();
  MatchCache& cache = matchCache();

  std::string compact;
  compact.reserve(text.size());
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) compact.push_back(c);

  cache.keys.clear();
  cache.values.clear();
  cache.keys.shrink_to_fit();
  cache.values.shrink_to_fit();
  cache.count = 0;
  int allocated = 1;
  for (char c : compact)
    if (c == ',') ++allocated;
  log_manager.writeLog(25, "match(): number of elements allocated is %d", allocated);
  try {
    cache.keys.resize(static_cast<std::size_t>(allocated));
  } catch (const std::bad_alloc&) {
    log_manager.writeLog("match(): unable to allocate key array!");
    return false;
  }
  try {
    cache.values.resize(static_cast<std::size_t>(allocated));
  } catch (const std::bad_alloc&) {
    log_manager.writeLog("match(): unable to allocate val array!");
    cache.keys.clear();
    return false;
  }

  for (const std::string& piece : splitSkippingEmpty(compact, ',')) {
    log_manager.writeLog(25, "\titem number %d", cache.count);
    log_manager.writeLog(28, "\tp_element is '%s' (%p)", piece.c_str(),
                         static_cast<const void*>(piece.c_str()));
    const std::vector<std::string> parts = splitSkippingEmpty(piece, ':');
    // A piece made of colons only holds no entry; the entries after it still count.
    if (parts.empty()) continue;
    log_manager.writeLog(28, "\ttoken is '%s' (%p)", parts[0].c_str(),
                         static_cast<const void*>(parts[0].c_str()));
    cache.keys[cache.count] = parts[0];
    log_manager.writeLog(25, "\tkey %s", parts[0].c_str());
    cache.values[cache.count] = parts.size() > 1 ? parts[1] : std::string();
    log_manager.writeLog(25, "\tval %s", cache.values[cache.count].c_str());
    ++cache.count;
  }

  log_manager.writeLog(25, "match(): parsed.");
  for (int i = 0; i < cache.count; ++i)
    log_manager.writeLog(28, "\t%d  %s : %s", i, cache.keys[i].c_str(), cache.values[i].c_str());
  return true;
}

}  // namespace

std::string match(std::string text, std::string key) {
  const LogManager& log_manager = LogManager::getInstance();
  log_manager.writeLog(25, "match(\"%s\", \"%s\")", text.c_str(), key.c_str());
  if (!text.empty() && !parseEntries(text)) return std::string();

  const MatchCache& cache = matchCache();
  log_manager.writeLog(25, "match(): Looking for match '%s' among %d items.", key.c_str(),
                       cache.count);
  for (int i = 0; i < cache.count; ++i) {
    log_manager.writeLog(28, "match(): %d: %s == %s?", i, cache.keys[i].c_str(), key.c_str());
    if (cache.keys[i] == key) return cache.values[i];
  }
  return std::string();
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

float readFloat(const std::string& text) {
  const float value = std::strtof(text.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0f;
}

}  // namespace tx
