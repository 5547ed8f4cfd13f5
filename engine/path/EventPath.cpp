#include "tolvex/path/EventPath.h"

namespace tx {

EventPath::EventPath(int init_status, Path init_path)
    : status(init_status), path(std::move(init_path)) {
  setType(PATH_EVENT);
}

}  // namespace tx
