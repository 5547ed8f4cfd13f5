#include "tolvex/network/EventNetwork.h"

#include "tolvex/core/LogManager.h"

namespace tx {

EventNetwork::EventNetwork(NetworkEventLabel init_label) {
  setType(NETWORK_EVENT);
  setLabel(init_label);
}

void EventNetwork::setLabel(NetworkEventLabel new_label) {
  int value = static_cast<int>(new_label);
  if (value < static_cast<int>(NetworkEventLabel::UNDEFINED) ||
      value > static_cast<int>(NetworkEventLabel::DATA)) {
    LogManager::getInstance().writeLog("EventNetwork::setLabel(): Undefined type (%d).", value);
    new_label = NetworkEventLabel::UNDEFINED;
  }
  label = new_label;
}

}  // namespace tx
