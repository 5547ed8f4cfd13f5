#include "tolvex/world/EventOut.h"

namespace tx {

EventOut::EventOut() { setType(OUT_EVENT); }

}  // namespace tx
