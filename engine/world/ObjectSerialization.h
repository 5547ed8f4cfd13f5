#pragma once

#include <string>

#include "world/Path.h"

namespace tx {

// The path's waypoints as text: for each, x, a blank, y and a bar ("1 2|3.5 4|"); "" when empty.
std::string pathToString(Path path);

}  // namespace tx
