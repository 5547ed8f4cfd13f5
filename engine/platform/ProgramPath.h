#pragma once

#include <string>

namespace tx {

// The running program's own file as an absolute path with links resolved; empty when the
// system cannot say. Installed games find their data beside it.
std::string programPath();

}  // namespace tx
