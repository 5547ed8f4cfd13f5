#pragma once

#include <string>

#include "tolvex/world/Path.h"

namespace tx {

// The path's waypoints as text: for each, x, a blank, y and a bar ("1 2|3.5 4|"); "" when empty.
std::string pathToString(Path path);

// Whether serialize, given this attribute list, writes the attribute whose list name is token
// (its name with the comma): the list is "ALL", holds token anywhere (a substring test, so
// "FOLLOW_PATH," also holds "PATH,"), or is empty while the attribute is modified.
bool isChosen(const std::string& attributes, const char* token, bool modified);

}  // namespace tx
