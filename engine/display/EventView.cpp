#include "tolvex/display/EventView.h"

namespace tx {

EventView::EventView() { setType(VIEW_EVENT); }

EventView::EventView(std::string init_tag, int init_value, bool init_delta)
    : tag(std::move(init_tag)), value(init_value), delta(init_delta) {
  setType(VIEW_EVENT);
}

}  // namespace tx
