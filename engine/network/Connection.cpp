#include "tolvex/network/Connection.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "tolvex/platform/Socket.h"

namespace tx {

Connection::Connection(int init_socket, bool init_connecting, std::string init_peer)
    : socket(init_socket), connecting(init_connecting), peer(std::move(init_peer)) {}

Connection::~Connection() { closeSocket(); }

int Connection::finishConnect() {
  if (!connecting) return 1;
  const int made = socketConnectResult(socket);
  if (made == 1) connecting = false;
  return made;
}

int Connection::closeSocket() {
  if (socket == -1) return 0;
  const int result = socketClose(socket);
  socket = -1;
  return result;
}

int Connection::bytesArrived(int& count) const {
  int waiting = 0;
  if (socketBytesWaiting(socket, waiting) == -1) return -1;
  count = static_cast<int>(held.size()) + waiting;
  return 0;
}

int Connection::peekFront(void* buffer, int bytes) const {
  const int from_held = std::min(bytes, static_cast<int>(held.size()));
  std::memcpy(buffer, held.data(), static_cast<size_t>(from_held));
  if (from_held == bytes) return bytes;
  const int got = socketPeek(socket, static_cast<char*>(buffer) + from_held, bytes - from_held);
  if (got == -1) return -1;
  return from_held + got;
}

int Connection::holdArrived(int length) {
  int waiting = 0;
  if (socketBytesWaiting(socket, waiting) == -1) return -1;
  const int wanted = std::min(waiting, length - static_cast<int>(held.size()));
  if (wanted <= 0) return 0;
  const std::string::size_type before = held.size();
  held.resize(before + static_cast<std::string::size_type>(wanted));
  const int got = socketReceive(socket, &held[before], wanted);
  held.resize(before + static_cast<std::string::size_type>(std::max(got, 0)));
  return got == -1 ? -1 : 0;
}

int Connection::takeMessage(int length, std::string& whole) {
  whole.swap(held);
  held.clear();
  std::string::size_type done = whole.size();
  whole.resize(static_cast<std::string::size_type>(length));
  // The whole message is already waiting, so these reads only stop short on a failure.
  while (done < whole.size()) {
    const int got = socketReceive(socket, &whole[done], static_cast<int>(whole.size() - done));
    if (got <= 0) return -1;
    done += static_cast<std::string::size_type>(got);
  }
  return 0;
}

int Connection::send(const char* data, int bytes) {
  if (flush() == -1) return -1;
  int taken = 0;
  if (!connecting && getPendingBytes() == 0) {
    taken = socketSend(socket, data, bytes);
    if (taken == -1) return -1;
  }
  outgoing.append(data + taken, static_cast<std::string::size_type>(bytes - taken));
  return 0;
}

int Connection::flush() {
  if (connecting || getPendingBytes() == 0) return 0;
  const int chunk = static_cast<int>(std::min<std::size_t>(getPendingBytes(), INT_MAX));
  const int taken = socketSend(socket, outgoing.data() + sent_from, chunk);
  if (taken == -1) {
    outgoing.clear();
    sent_from = 0;
    return -1;
  }
  sent_from += static_cast<std::string::size_type>(taken);
  // Sent bytes are dropped only once they are the larger part, so that a buffer drained a
  // little at a time is not moved each time.
  if (sent_from == outgoing.size()) {
    outgoing.clear();
    sent_from = 0;
  } else if (sent_from > outgoing.size() / 2) {
    outgoing.erase(0, sent_from);
    sent_from = 0;
  }
  return 0;
}

std::size_t Connection::getPendingBytes() const { return outgoing.size() - sent_from; }

int Connection::incompleteFor(bool incomplete) {
  if (!incomplete) {
    incomplete_seen = false;
    return 0;
  }
  if (!incomplete_seen) {
    incomplete_seen = true;
    incomplete_clock.delta();
    return 0;
  }
  return incomplete_clock.split() / 1000;
}

}  // namespace tx
