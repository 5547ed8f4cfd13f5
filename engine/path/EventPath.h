#pragma once

#include "tolvex/core/Event.h"
#include "tolvex/world/Path.h"

namespace tx {

// Result of a finished path search, handed straight to the walking object's eventHandler.
// status is 0 when no path exists (or the search could not run) and 2 when one was found.
class EventPath : public Event {
 public:
  // Labelled "tx-path". The path is copied.
  EventPath(int init_status = 0, Path init_path = Path());

  // 0 no path, 2 found.
  int getStatus() const { return status; }
  void setStatus(int new_status) { status = new_status; }
  // A copy; start cell first, index 0. Empty when the status is 0.
  Path getPath() const { return path; }
  void setPath(Path new_path) { path = std::move(new_path); }

 private:
  int status = 0;
  Path path;
};

}  // namespace tx
