#pragma once

#include <cstddef>
#include <string>

#include "tolvex/core/Clock.h"

namespace tx {

// One socket of the network manager and what the manager keeps for it: the bytes of the front
// message already taken from the system, the bytes the system has not yet taken for sending, and
// how long the front message has been incomplete. No operation waits. Failing calls return -1
// and leave the code in socketLastError().
class Connection {
 public:
  // Takes over socket (non-blocking); connecting while its handshake is still under way. peer
  // names the far end in log lines, for example "127.0.0.1:4000".
  Connection(int socket, bool connecting, std::string peer = "");
  // Closes the socket unless closeSocket() already did.
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // The handle, -1 once closed.
  int getSocket() const { return socket; }
  bool isOpen() const { return socket != -1; }
  bool isConnecting() const { return connecting; }
  const std::string& getPeer() const { return peer; }

  // Looks at the handshake without waiting: 1 once the connection is made, 0 while the
  // handshake is under way, -1 when it failed.
  int finishConnect();
  // Releases the socket now; 0, or -1 (released all the same).
  int closeSocket();

  // Bytes of the incoming stream that have arrived and not been taken, held ones included.
  int bytesArrived(int& count) const;
  // Copies the next bytes of the incoming stream (held ones first) without consuming them. The
  // count copied, which is short when fewer have arrived.
  int peekFront(void* buffer, int bytes) const;
  // Takes what has arrived of a front message of length bytes from the system into the held
  // bytes: the system holds only so much unread data, so a long message completes here. 0.
  int holdArrived(int length);
  // Takes the whole front message of length bytes, which must have arrived, into whole. 0, or
  // -1 when the system failed part way (the stream can no longer be read in step).
  int takeMessage(int length, std::string& whole);

  // Sends bytes after those still kept; what the system does not take now is kept, in order.
  // While the handshake is under way everything is kept. 0, or -1 when the stream is broken
  // (nothing of these bytes is kept then).
  int send(const char* data, int bytes);
  // Passes kept bytes to the system as far as it takes them. 0, or -1 when the stream is broken
  // (the kept bytes are dropped, since they can no longer arrive).
  int flush();
  // Bytes kept for sending.
  std::size_t getPendingBytes() const;

  // Milliseconds the front message has been incomplete: counted from the first call that
  // reports it incomplete, back to 0 on a call that reports it complete (or absent).
  int incompleteFor(bool incomplete);

 private:
  int socket;
  bool connecting;
  std::string peer;
  // Bytes of the front message already taken from the system.
  std::string held;
  // Bytes not yet taken by the system start at outgoing[sent_from].
  std::string outgoing;
  std::string::size_type sent_from = 0;
  bool incomplete_seen = false;
  Clock incomplete_clock;
};

}  // namespace tx
