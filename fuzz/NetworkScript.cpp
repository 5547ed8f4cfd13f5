#include "NetworkScript.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tolvex/network/NetworkManager.h"
#include "tolvex/platform/Socket.h"
#include "tolvex/platform/SystemClock.h"

namespace tx::fuzz {

namespace {

// Bytes each peer may send in one script: far below what the loopback socket buffers hold, so
// that a peer never waits for a manager that is not reading (the same thread).
constexpr std::size_t MAX_SENT = 64 * 1024;
// Limits small enough for a short script to reach them.
constexpr int MAX_SOCKETS = 4;
constexpr int MAX_OUTGOING_BYTES = 64 * 1024;
constexpr int STALL_TIMEOUT = 1000;

// The script's clock, in milliseconds from the first day of a month.
long long script_time_ms = 0;

WallClockTime scriptClock() {
  const long long t = script_time_ms;
  return WallClockTime{static_cast<int>(t / 86400000) + 1, static_cast<int>(t / 3600000 % 24),
                       static_cast<int>(t / 60000 % 60), static_cast<int>(t / 1000 % 60),
                       static_cast<int>(t % 1000)};
}

NetworkManager& network() { return NetworkManager::getInstance(); }

void closeAllSockets() {
  while (network().getNumConnected() > 0) network().close(network().getNumConnected() - 1);
}

}  // namespace

NetworkScript::NetworkScript(int server_port)
    : port(server_port),
      saved_max_sockets(network().getMaxSockets()),
      saved_max_outgoing_bytes(network().getMaxOutgoingBytes()),
      saved_stall_timeout(network().getStallTimeout()) {
  script_time_ms = 0;
  setWallClockSource(scriptClock);
  network().setMaxSockets(MAX_SOCKETS);
  network().setMaxOutgoingBytes(MAX_OUTGOING_BYTES);
  network().setStallTimeout(STALL_TIMEOUT);
  for (int peer = 0; peer < PEERS; ++peer) connectPeer(peer);
  // In the order they connected, so that peer p starts as socket index p.
  network().acceptWaiting();
}

NetworkScript::~NetworkScript() {
  for (int peer = 0; peer < PEERS; ++peer) closePeer(peer);
  // Connections still waiting at the server would otherwise reach the next script.
  do {
    closeAllSockets();
  } while (network().acceptWaiting() > 0);
  setWallClockSource({});
  network().setMaxSockets(saved_max_sockets);
  network().setMaxOutgoingBytes(saved_max_outgoing_bytes);
  network().setStallTimeout(saved_stall_timeout);
}

void NetworkScript::play(const std::uint8_t* data, std::size_t size) {
  script = data;
  script_size = size;
  at = 0;
  while (at < script_size) {
    act(next());
    if (network().getNumConnected() > network().getMaxSockets()) std::abort();
  }
  letGo();
}

int NetworkScript::next() { return at < script_size ? script[at++] : 0; }

void NetworkScript::act(int control) {
  if (control < 0x80) {
    peerSends(0, static_cast<std::size_t>(control) + 1);
    return;
  }
  const int target = control & 0x07;
  const int peer = target % PEERS;
  switch ((control >> 3) & 0x07) {
    case 0:
      if (target == 0)
        networkPhase((control & 0x40) != 0);
      else
        peerSends(peer, static_cast<std::size_t>(next()) + 1);
      break;
    case 1:
      managerSends(target, next() * 2048);
      break;
    case 2:
      peerReads(peer, (next() + 1) * 4096);
      break;
    case 3:
      closePeer(peer);
      break;
    case 4:
      connectPeer(peer);
      break;
    case 5:
      script_time_ms += next() * 100LL;
      break;
    case 6:
      if (network().getNumConnected() > 0) network().close(target % network().getNumConnected());
      break;
    default:
      self_connected = network().connect("127.0.0.1", port) >= 0 || self_connected;
      break;
  }
}

void NetworkScript::peerSends(int peer, std::size_t count) {
  if (count > script_size - at) count = script_size - at;
  if (peers[peer] != -1 && sent[peer] + count <= MAX_SENT &&
      socketSendAll(peers[peer], script + at, static_cast<int>(count)) == 0)
    sent[peer] += count;
  at += count;
}

void NetworkScript::peerReads(int peer, int bytes) {
  if (peers[peer] == -1) return;
  std::string buffer(static_cast<std::size_t>(bytes), '\0');
  socketReceive(peers[peer], &buffer[0], bytes);
}

void NetworkScript::connectPeer(int peer) {
  if (peers[peer] != -1) return;
  peers[peer] = socketConnect("127.0.0.1", port);
  sent[peer] = 0;
}

void NetworkScript::closePeer(int peer) {
  if (peers[peer] == -1) return;
  socketClose(peers[peer]);
  peers[peer] = -1;
}

void NetworkScript::managerSends(int sock_index, int body) {
  if (network().getNumConnected() == 0) return;
  network().send(sock_index % network().getNumConnected(),
                 std::string(static_cast<std::size_t>(body), 'e'));
}

void NetworkScript::networkPhase(bool into_buffer) {
  network().acceptWaiting();
  // The count is read again after every call: a call may close a connection.
  for (int i = 0; i < network().getNumConnected(); ++i) {
    network().isData(i);
    network().genDataEvents(i);
    if (i >= network().getNumConnected()) break;
    if (into_buffer) {
      char buffer[16];
      network().receive(i, buffer, static_cast<int>(sizeof buffer));
    } else {
      std::string message;
      network().receive(i, message);
    }
  }
}

void NetworkScript::letGo() {
  for (int peer = 0; peer < PEERS; ++peer) closePeer(peer);
  if (self_connected) return;
  // Once a peer's close has arrived, each phase takes a complete message or closes its socket,
  // so the manager must let go of every one. The closes may take a moment on a busy machine.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (;;) {
    networkPhase(false);
    if (network().getNumConnected() == 0) return;
    if (std::chrono::steady_clock::now() > give_up) std::abort();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

}  // namespace tx::fuzz
