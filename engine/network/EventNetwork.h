#pragma once

#include "tolvex/core/Event.h"

namespace tx {

// What happened on a connection. Scoped because other engine enums already use UNDEFINED.
enum class NetworkEventLabel : int {
  UNDEFINED = -1,
  ACCEPT = 0,
  CONNECT = 1,
  CLOSE = 2,
  DATA = 3,
};

// Sent by the network manager ("tx-network") when a connection is accepted, made or closed, and
// when a complete message is waiting on a connected socket.
class EventNetwork : public Event {
 public:
  // Labelled "tx-network", with what happened (see setLabel).
  explicit EventNetwork(NetworkEventLabel init_label = NetworkEventLabel::UNDEFINED);

  // What happened. A value outside UNDEFINED .. DATA is logged and stored as UNDEFINED.
  void setLabel(NetworkEventLabel new_label);
  NetworkEventLabel getLabel() const { return label; }
  // Index into the network manager's connected sockets; -1 when none.
  void setSocketIndex(int new_socket_index) { socket_index = new_socket_index; }
  int getSocketIndex() const { return socket_index; }
  // Whole message length in bytes, the 4-byte length prefix included (DATA events); else 0.
  void setBytes(int new_bytes) { bytes = new_bytes; }
  int getBytes() const { return bytes; }

 private:
  NetworkEventLabel label = NetworkEventLabel::UNDEFINED;
  int socket_index = -1;
  int bytes = 0;
};

}  // namespace tx
