#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tx {

// Looks key up in a comma-separated list of key:value entries and returns its value (a copy),
// or "" when the key is absent or has no value. White space anywhere in text is ignored, the
// first occurrence of a key wins and anything after a second colon is dropped.
// The parse is kept between calls: an empty text looks key up in the most recent parse, so a
// caller can parse once and then ask for several keys. Not re-entrant; main thread only.
std::string match(std::string text, std::string key);
// As match, with the same entries and the same kept parse, but the value is returned as written,
// white space kept (a waypoint's "1 2" stays two numbers). nullopt when the key is absent; an
// entry without a value gives "".
std::optional<std::string> matchKeepingSpace(std::string text, std::string key);

// Applies a table of keys to target, in table order: each entry's key is looked up in the parse
// match kept, and entry.read(target, value) is called when the value is not empty, so absent
// keys and keys without a value change nothing. Entries are anything with a key (const char*)
// and a read function.
template <typename Table, typename Target>
void readKeys(const Table& table, Target& target) {
  for (const auto& entry : table) {
    const std::string value = match("", entry.key);
    if (!value.empty()) entry.read(target, value);
  }
}

// True when text is empty or only white space (as isspace classifies it).
bool isBlank(const std::string& text);

// Decimal form of an int.
std::string toString(int value);
// A float as a stream writes it by default (printf "%g": 0.5, 3, 1.23457e+06).
std::string toString(float value);
// "true" or "false".
std::string toString(bool value);

// The leading decimal integer of text as atoi reads it (white space, a sign, digits up to the
// first other character; 0 when there are none), held to the int range instead of overflowing.
// When used is given it receives the number of characters read, 0 when there is no number.
int readInt(const std::string& text, std::size_t* used = nullptr);
// The leading number of text as strtof reads it; 0 when there is none or when it is not finite
// (inf, nan, 1e999), which no position, speed or size can hold sensibly. When used is given it
// receives the number of characters read (leading white space included), 0 for those cases.
float readFloat(const std::string& text, std::size_t* used = nullptr);

// True when min <= value <= max.
bool valueInRange(float value, float min, float max);

}  // namespace tx
